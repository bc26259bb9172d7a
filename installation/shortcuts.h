// The app's shortcuts: made after an install, and removed when they are this installation's.
#pragma once

#include <string>

namespace gls {

struct Env;

// Which shortcuts could not be made, each logged with its reason.
struct ShortcutsMissing {
    bool startMenu = false;
    bool desktop = false;
};

// The Start-menu shortcut, and the desktop one when wanted (otherwise an earlier desktop shortcut
// of this installation is removed); then the shell is told, outside test mode. A folder that
// Windows protects (the desktop under controlled folder access) leaves its shortcut out.
ShortcutsMissing makeShortcuts(const Env& env, const std::wstring& installDir, bool desktopShortcut);

// Deletes the shortcut when it points into the install folder; one whose target cannot be read
// stays. True when it is gone or was never there; false when it stayed. A shortcut whose folder is
// unknown is skipped, as in making them.
bool removeShortcutIfOurs(const std::wstring& shortcutPath, const std::wstring& installFolder);

} // namespace gls
