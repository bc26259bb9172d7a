// The uninstaller's hand-off: the uninstaller in the install folder copies itself into the
// temporary folder and starts the copy, which removes the app, reports a quiet run's result back
// through a pipe, and has its own file deleted once it has ended.
#pragma once

#include "core/exit_code.h"
#include "platform/unique_handle.h"

#include <optional>
#include <string>

namespace gls {

struct Args;
struct Env;

// Copies the running program to the temporary folder and starts the copy on the folder. Done when
// the copy was started; in silent mode the copy's own exit code, or failed when the copy ended or
// hung without reporting one, or reported a code the setup does not define. Nothing when the copy
// could not be made or started (logged).
[[nodiscard]] std::optional<ExitCode> relaunchFromTemp(const Env& env, const Args& args, const std::wstring& folder);

// The copy's side. Waits at most 30 s for the process that started it, named by "/parent=".
void waitForParent(unsigned long long handleValue);

// The pipe that "/result=" names, in a quiet run; none when there is none or it is no pipe.
UniqueKernelHandle resultPipeOf(const Args& args);

// Writes the exit code into the pipe, if there is one, and closes it.
void reportResult(UniqueKernelHandle& pipe, ExitCode result);

// Starts a hidden command interpreter that deletes the file a moment after this process has
// exited; only for a file in the temporary folder with an uninstaller copy's name.
void scheduleDeletion(const Env& env, const std::wstring& path);

// The same for the running file, when it is a temporary copy of the uninstaller.
void scheduleSelfDelete(const Env& env);

// The program file is an uninstaller by its name, "Uninstall.exe" in any letter case.
bool isUninstallerName(const std::wstring& exePath);

} // namespace gls
