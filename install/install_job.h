// The install job: the payload's files and the uninstaller into a folder all or nothing, the
// installed-apps entry, and the shortcuts.
#pragma once

#include "install_result.h"

#include <string>

namespace gls {

struct Env;
struct Payload;

// Installs or updates the app in the folder. Never shows a window or a message box.
InstallResult installApp(const Env& env, const Payload& payload, const std::wstring& installDir, bool desktopShortcut,
                         const ProgressCallback& progress);

// The Start-menu shortcut, and the desktop one when wanted (otherwise an earlier desktop shortcut
// of this installation is removed); then the shell is told, outside test mode.
void makeShortcuts(const Env& env, const std::wstring& installDir, bool desktopShortcut);

} // namespace gls
