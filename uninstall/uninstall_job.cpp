// The uninstall job, step by step. Only files known to be Glimmerline's go: the names in the
// payload index of the installed uninstaller, or of this setup where the folder holds the app.
#include "uninstall_job.h"

#include "core/in_use_message.h"
#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "installation/app_in_folder.h"
#include "installation/apps_entry.h"
#include "installation/existing_install.h"
#include "installation/shortcuts.h"
#include "live_files.h"
#include "payload/payload.h"
#include "payload/payload_name.h"
#include "platform/env.h"
#include "platform/file_holders.h"
#include "platform/file_identity.h"
#include "platform/file_io.h"
#include "platform/file_status.h"
#include "platform/job_number.h"
#include "platform/log.h"
#include "platform/remove_files.h"
#include "platform/system_error_text.h"
#include "platform/tree_walk.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <optional>

namespace gls {

namespace {

// The names of the installation in the folder: the installed uninstaller's index, or this
// setup's own where the folder holds the app or its uninstaller but no readable index. A folder
// with neither holds no installation, and nothing in it is taken by name.
std::vector<std::string> namesToRemove(const std::wstring& installFolder)
{
    std::vector<std::string> names;
    for (const PayloadEntry& e : listPayloadOf(joinPath(installFolder, kUninstallerExe))) names.push_back(e.name);
    if (names.empty() && appInFolder(installFolder)) {
        // A damaged payload gives no names at all, so that nothing is guessed.
        Checked<Payload> own = loadPayload();
        if (own.ok()) {
            for (const PayloadEntry& e : own.value.entries) names.push_back(e.name);
        }
    }
    return names;
}

// The installed-apps entry goes with the folder it names, in any spelling, and with no other:
// after two installations the entry names the second, which must outlive the first one's removal.
// An entry that names no folder belongs to nothing else. Decided before anything is removed, while
// the folder is there to be compared by identity.
bool entryBelongsTo(const Env& env, const std::wstring& installFolder)
{
    std::optional<std::wstring> location = readAppsEntry(env, kInstallLocation);
    return !location || samePath(*location, installFolder) || sameFolderOnDisk(*location, installFolder);
}

// The app's files go through a work folder of the job's, so that their names are free at once
// even where the system keeps a deleted file's name until the last program holding it lets go.
struct Deleting {
    std::wstring folder;
    unsigned next = 0;
};

// Deletes one listed file by way of the job's work folder. False when it stayed, at its name.
bool deleteFreeingName(const std::wstring& path, Deleting& deleting)
{
    if (deleteByWayOf(path, joinPath(deleting.folder, std::to_wstring(++deleting.next)))) return true;
    logLine(L"could not remove %ls: %ls", path.c_str(), systemErrorText(::GetLastError()).c_str());
    return false;
}

// Moves the running uninstaller out of the folder under a copy's name, which the next run's
// clean-up of stale copies takes away if this one cannot. Empty when it could not be moved.
std::wstring moveRunningUninstaller(const Env& env, const std::wstring& path)
{
    if (env.tempDir.empty()) return {};
    std::wstring to = joinPath(env.tempDir, uninstallCopyName(::GetCurrentProcessId()));
    if (moveFile(path, to, MOVEFILE_REPLACE_EXISTING)) {
        logLine(L"moved %ls to %ls: it is still running", path.c_str(), to.c_str());
        return to;
    }
    logLine(L"could not move %ls out of its folder: %ls", path.c_str(), systemErrorText(::GetLastError()).c_str());
    return {};
}

void removeFolderIfEmpty(const std::wstring& folder)
{
    if (isEmptyFolder(folder)) (void)removeFolder(folder);
}

} // namespace

UninstallResult removeInstallation(const Env& env, const std::wstring& installFolder, bool removeSettings,
                                   const ProgressCallback& progress, RunningUninstaller running)
{
    UninstallResult result;
    logLine(L"uninstall %ls (settings too: %ls)", installFolder.c_str(), removeSettings ? L"yes" : L"no");
    if (env.testMode && !isInsideFolder(installFolder, env.testRoot)) {
        result.message = Txt::TestOutsideTestFolder;
        return result;
    }
    progress(0.0f, Txt::StepRemoving);

    std::vector<std::string> names = namesToRemove(installFolder);
    bool installationThere = true;
    if (names.empty() && targetExists(installFolder)) {
        if (appInFolder(installFolder)) {
            result.message = Message(Txt::ErrorCannotTellFiles, {{L"folder", installFolder}});
            return result;
        }
        // An entry written by hand or by another tool that names a folder of the user's; or an
        // uninstall that ended as it deleted the last of the app's files, whose work folder stays.
        logLine(L"no installation in %ls; nothing removed from it", installFolder.c_str());
        removeWorkLeftovers(installFolder);
        installationThere = false;
    }
    bool ownsEntry = entryBelongsTo(env, installFolder);

    std::vector<std::wstring> stayed;
    bool namesPending = false;
    if (installationThere) {
        Deleting deleting{joinPath(installFolder, workName(kDeletingPrefix, ::GetCurrentProcessId(), nextJobNumber()))};
        LinkFreeFolders linkFree;
        std::vector<std::wstring> listed;
        const float count = static_cast<float>(names.size() + 1);
        size_t handled = 0;
        auto handledOne = [&] { progress(static_cast<float>(++handled) * 0.6f / count, Txt::StepRemoving); };
        for (const std::string& name : names) {
            std::wstring relative = pathFromPayloadName(name);
            if (relative.empty() || sameFileName(relative, kUninstallerExe)) continue;
            std::replace(relative.begin(), relative.end(), L'/', L'\\');
            std::wstring path = joinPath(installFolder, relative);
            // What lies behind a link is not the app's, whatever its name.
            if (!firstLinkOnTheWay(installFolder, relative, linkFree).empty()) {
                logLine(L"left %ls: a link lies on its way", path.c_str());
            } else {
                listed.push_back(path);
                if (!deleteFreeingName(path, deleting)) stayed.push_back(path);
            }
            handledOne();
        }
        std::wstring uninstaller = joinPath(installFolder, kUninstallerExe);
        if (running != RunningUninstaller::None && entryExists(uninstaller) && !isLink(uninstaller)) {
            result.uninstallerMovedTo = moveRunningUninstaller(env, uninstaller);
            result.uninstallerLeft = result.uninstallerMovedTo.empty();
        } else if (!isLink(uninstaller) && !deleteFreeingName(uninstaller, deleting)) {
            stayed.push_back(uninstaller);
        }
        handledOne();
        listed.push_back(uninstaller);
        // This job's work folder, and whatever runs that ended left; the setup's mutex is held.
        removeWorkLeftovers(installFolder);
        // Its names go when their holder lets go; until then the install folder stays.
        namesPending = entryExists(deleting.folder);
        // Only the folders that held the app's files, and the install folder when it is empty.
        removeEmptiedFolders(installFolder, listed);
        removeFolderIfEmpty(installFolder);
    }

    progress(0.7f, Txt::StepRemovingShortcuts);
    removeShortcutIfOurs(joinPath(env.startMenuPrograms, kShortcutName), installFolder);
    removeShortcutIfOurs(joinPath(env.desktopDir, kShortcutName), installFolder);
    if (!env.testMode) ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);

    progress(0.8f, Txt::StepRemovingFromWindows);
    if (!ownsEntry) {
        logLine(L"the installed apps entry names another folder; kept");
    } else if (result.uninstallerLeft && running == RunningUninstaller::Starter) {
        // Without the entry, nothing would find the uninstaller that stays until it has ended.
        logLine(L"the installed apps entry is kept until %ls is gone", kUninstallerExe);
        result.entryKept = true;
    } else {
        deleteAppsEntry(env);
    }

    // Live's script and device serve whichever installation is left: while the entry names another
    // folder that still holds the app, they stay for it.
    progress(0.85f, Txt::StepRemovingLiveScript);
    ExistingInstall other = ownsEntry ? ExistingInstall() : findExistingInstall(env);
    if (other.found) {
        logLine(L"Live's files are kept for the installation in %ls", other.folder.c_str());
    } else {
        result.liveFilesLeft = removeLiveFiles(env);
    }

    if (removeSettings && !env.settingsDir.empty() && targetExists(env.settingsDir)) {
        progress(0.92f, Txt::StepRemovingSettings);
        removeTree(env.settingsDir, &result.settingsFilesLeft);
        result.settingsRemoved = !targetExists(env.settingsDir);
        logLine(L"settings folder %ls: %ls", env.settingsDir.c_str(),
                result.settingsRemoved ? L"removed" : L"partly left");
    }

    progress(1.0f, Txt::StepDone);
    result.ok = stayed.empty() && !namesPending;
    if (result.ok && result.uninstallerLeft && running == RunningUninstaller::ThisProcess) {
        logLine(L"nothing of Glimmerline is left but %ls, which this uninstaller runs: delete it once it has ended",
                joinPath(installFolder, kUninstallerExe).c_str());
    }
    if (!result.ok) result.message = filesLeftInUseMessage(programsHolding(stayed), stayed, installFolder);
    logLine(L"uninstall done: %ls, Live files left %zu", result.ok ? L"ok" : L"files left",
            result.liveFilesLeft.size());
    return result;
}

void removeLeftUninstaller(const Env& env, const std::wstring& installFolder, const UninstallResult& removed)
{
    if (!removed.uninstallerMovedTo.empty()) {
        if (!deleteFile(removed.uninstallerMovedTo))
            logLine(L"could not remove %ls", removed.uninstallerMovedTo.c_str());
        return;
    }
    if (!removed.uninstallerLeft) return;
    std::wstring path = joinPath(installFolder, kUninstallerExe);
    if (!deleteFile(path)) {
        logLine(L"could not remove %ls: %ls", path.c_str(), systemErrorText(::GetLastError()).c_str());
        return;
    }
    logLine(L"removed %ls", path.c_str());
    removeFolderIfEmpty(installFolder);
    if (removed.entryKept) deleteAppsEntry(env);
}

} // namespace gls
