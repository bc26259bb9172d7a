// The uninstall role: the uninstaller in the install folder hands over to a copy of itself in
// the temporary folder, which removes the app, reports a quiet run's result back, and deletes the
// uninstaller and its own file once the starter has exited.
#pragma once

#include "core/exit_code.h"

#include <string>

namespace gls {

struct Args;
struct Env;

[[nodiscard]] ExitCode doUninstall(const Env& env, const Args& args);

// Copies the running program to the temporary folder and starts the copy on the folder. Done when
// the copy was started, failed when it could not be made or started; in silent mode the copy's own
// exit code, or failed when the copy ended or hung without reporting one.
[[nodiscard]] ExitCode relaunchFromTemp(const Env& env, const Args& args, const std::wstring& folder);

// The copy's command line: "/uninstall", the quoted "/from=", "/parent=", "/result=" when a pipe
// for the result is given (not 0), and the passed-on choices.
std::wstring copyCommandLine(const std::wstring& copyPath, const std::wstring& folder, unsigned long long parentHandle,
                             unsigned long long resultHandle, const Args& args);

// Starts a hidden command interpreter that deletes the running file a moment after this process
// has exited; only for a temporary copy of the uninstaller.
void scheduleSelfDelete(const Env& env);

// Logs the text and, unless silent or in test mode, shows it in a message box.
void showNotice(const Env& env, const Args& args, const std::wstring& text);

// The program file is an uninstaller by its name, "Uninstall.exe" in any letter case.
bool isUninstallerName(const std::wstring& exePath);

// A path inside a folder and not the folder itself, compared in lexical normal form and lower case.
bool isStrictlyInside(const std::wstring& path, const std::wstring& folder);

} // namespace gls
