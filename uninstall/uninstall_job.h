// The uninstall job: the installed files named by the installed payload index, the shortcuts,
// the installed-apps entry, the Live script and device, and the settings when asked.
#pragma once

#include "installation/progress.h"
#include "live_files.h"

#include <string>
#include <vector>

namespace gls {

struct Env;

// Whether "Uninstall.exe" in the folder is a running program: none runs it; the uninstaller that
// started this quiet copy runs it and waits for the result; or this very process runs it, as
// when its copy could not be made or started.
enum class RunningUninstaller { None, Starter, ThisProcess };

struct UninstallResult {
    bool ok = false;                     // every listed file of the install folder is gone
    Message message;                     // for the user, when not ok
    std::vector<LeftFile> liveFilesLeft; // what stayed in Live's User Libraries, and why
    std::vector<std::wstring> settingsFilesLeft;
    bool settingsRemoved = false;
    // A running "Uninstall.exe": where it was moved, or that it stayed in the folder. One that the
    // starter of a quiet copy runs keeps the installed-apps entry with it, so that a run that ends
    // before the file is gone leaves the installation findable; removeLeftUninstaller finishes both.
    std::wstring uninstallerMovedTo;
    bool uninstallerLeft = false;
    bool entryKept = false;
};

// A running "Uninstall.exe" is moved out of the folder into the temporary folder, as a running
// program file can be renamed but not deleted, before the installed-apps entry goes.
[[nodiscard]] UninstallResult removeInstallation(const Env& env, const std::wstring& installFolder, bool removeSettings,
                                                 const ProgressCallback& progress,
                                                 RunningUninstaller running = RunningUninstaller::None);

// Once the uninstaller no longer runs: deletes its moved file, or the "Uninstall.exe" that stayed,
// then the install folder when nothing else is in it and the entry that was kept for it.
void removeLeftUninstaller(const Env& env, const std::wstring& installFolder, const UninstallResult& removed);

} // namespace gls
