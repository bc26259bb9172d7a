// The uninstall role: the uninstaller in the install folder hands over to a copy of itself in
// the temporary folder, which removes the app, reports a quiet run's result back, and deletes the
// uninstaller and its own file once the starter has exited.
#pragma once

#include "core/exit_code.h"

#include <optional>
#include <string>

namespace gls {

struct Args;
struct Env;

[[nodiscard]] ExitCode doUninstall(const Env& env, const Args& args);

// Copies the running program to the temporary folder and starts the copy on the folder. Done when
// the copy was started; in silent mode the copy's own exit code, or failed when the copy ended or
// hung without reporting one. Nothing when the copy could not be made or started (logged).
[[nodiscard]] std::optional<ExitCode> relaunchFromTemp(const Env& env, const Args& args, const std::wstring& folder);

// The copy's command line: "/uninstall", the quoted "/from=", "/parent=", "/result=" when a pipe
// for the result is given (not 0), and the passed-on choices.
std::wstring copyCommandLine(const std::wstring& copyPath, const std::wstring& folder, unsigned long long parentHandle,
                             unsigned long long resultHandle, const Args& args);

// Starts a hidden command interpreter that deletes the file a moment after this process has
// exited; only for a file in the temporary folder with an uninstaller copy's name.
void scheduleDeletion(const Env& env, const std::wstring& path);

// The same for the running file, when it is a temporary copy of the uninstaller.
void scheduleSelfDelete(const Env& env);

// The program file is an uninstaller by its name, "Uninstall.exe" in any letter case.
bool isUninstallerName(const std::wstring& exePath);

// A path inside a folder and not the folder itself, compared in lexical normal form and lower case.
bool isStrictlyInside(const std::wstring& path, const std::wstring& folder);

} // namespace gls
