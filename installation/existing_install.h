// Whether Glimmerline is installed already, and where: the installed-apps entry checked against the disk.
#pragma once

#include <string>

namespace gls {

struct Env;

struct ExistingInstall {
    bool found = false;              // registered as a whole path, and the folder holds the app or its uninstaller
    std::wstring folder;             // "InstallLocation" exactly as stored, even when not found
    std::wstring version;            // "DisplayVersion", empty when missing
    bool hasDesktopShortcut = false; // the desktop's Glimmerline.lnk points into the folder
};

ExistingInstall findExistingInstall(const Env& env);

// The registered folder when it can be used for removal: absolute, more than a bare drive or
// share, and inside the test folder in test mode; the same rule the lookup above applies. Looks
// for no file in it.
std::wstring registeredInstallFolder(const Env& env);

} // namespace gls
