// The uninstall job: the installed files named by the installed payload index, the shortcuts,
// the installed-apps entry, the Live script and device, and the settings when asked.
#pragma once

#include "install/install_result.h"

#include <string>
#include <vector>

namespace gls {

struct Env;

struct UninstallResult {
    bool ok = false;                           // every listed file of the install folder is gone
    std::wstring message;                      // for the user, when not ok
    std::vector<std::wstring> liveFilesLeft;   // what stayed in Live's User Libraries
    std::vector<std::wstring> settingsFilesLeft;
    bool settingsRemoved = false;
    bool uninstallerLeft = false;              // "Uninstall.exe" stayed on request, for removeLeftUninstaller
};

// With leaveUninstaller, "Uninstall.exe" and the folder that holds it stay for
// removeLeftUninstaller: a quiet uninstaller's copy reports its result while the uninstaller that
// started it, and so holds that file, still runs.
[[nodiscard]] UninstallResult removeInstallation(const Env& env, const std::wstring& installFolder, bool removeSettings,
                                   const ProgressCallback& progress, bool leaveUninstaller = false);

// Deletes the "Uninstall.exe" a removal left, waiting a moment for a process that still holds it,
// and then the install folder when nothing else is in it.
void removeLeftUninstaller(const std::wstring& installFolder);

} // namespace gls
