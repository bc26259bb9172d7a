// The uninstall role: the uninstaller in the install folder hands over to a copy of itself in
// the temporary folder, which waits for it, removes the app and deletes its own file afterwards.
#pragma once

#include "core/exit_code.h"

#include <string>

namespace gls {

struct Args;
struct Env;

[[nodiscard]] ExitCode doUninstall(const Env& env, const Args& args);

// Copies the running program to the temporary folder and starts the copy on the folder. Done when
// the copy was started, failed when it could not be made or started.
[[nodiscard]] ExitCode relaunchFromTemp(const Env& env, const Args& args, const std::wstring& folder);

// The copy's command line: "/uninstall", the quoted "/from=", "/parent=" and the passed-on choices.
std::wstring copyCommandLine(const std::wstring& copyPath, const std::wstring& folder, unsigned long long parentHandle,
                             const Args& args);

// Starts a hidden command interpreter that deletes the running file a moment after this process
// has exited; only for a temporary copy of the uninstaller.
void scheduleSelfDelete(const Env& env);

// Logs the text and, unless silent or in test mode, shows it in a message box.
void showNotice(const Env& env, const Args& args, const std::wstring& text);

// A path inside a folder and not the folder itself, compared in lexical normal form and lower case.
bool isStrictlyInside(const std::wstring& path, const std::wstring& folder);

} // namespace gls
