// The uninstall job, step by step. Only files known to be Glimmerline's go: the names in the
// payload index of the installed uninstaller, or of this setup where the folder holds the app.
#include "uninstall_job.h"

#include "core/in_use_message.h"
#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "install/app_in_folder.h"
#include "install/apps_entry.h"
#include "install/existing_install.h"
#include "install/shortcuts.h"
#include "live_files.h"
#include "payload/payload.h"
#include "payload/payload_name.h"
#include "platform/env.h"
#include "platform/file_holders.h"
#include "platform/file_identity.h"
#include "platform/file_status.h"
#include "platform/log.h"
#include "platform/remove_files.h"

#include <windows.h>

#include <shlobj.h>

#include <optional>

namespace gls {

namespace {

const wchar_t kRemoving[] = L"Removing Glimmerline";

// The names of the installation in the folder: the installed uninstaller's index, or this
// setup's own where the folder holds the app or its uninstaller but no readable index. A folder
// with neither holds no installation, and nothing in it is taken by name.
std::vector<std::string> namesToRemove(const std::wstring& installFolder)
{
    std::vector<std::string> names;
    for (const PayloadEntry& e : listPayloadOf(joinPath(installFolder, kUninstallerExe))) names.push_back(e.name);
    if (names.empty() && appInFolder(installFolder)) {
        // A damaged payload gives no names at all, so that nothing is guessed.
        Payload own = loadPayload();
        if (own.error.empty()) {
            for (const PayloadEntry& e : own.entries) names.push_back(e.name);
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

bool gone(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// Deletes one listed file; the installed uninstaller gets up to 5 seconds, as the process that
// started this copy may still hold it for a moment.
bool deleteListed(const std::string& name, const std::wstring& path)
{
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (::DeleteFileW(path.c_str()) || gone(::GetLastError())) return true;
    if (name != kUninstallerPayloadName) return false;
    for (int retry = 0; retry < 50; ++retry) {
        ::Sleep(100);
        if (::DeleteFileW(path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND) return true;
    }
    return false;
}

} // namespace

UninstallResult removeInstallation(const Env& env, const std::wstring& installFolder, bool removeSettings,
                                   const ProgressCallback& progress, bool leaveUninstaller)
{
    UninstallResult result;
    logLine(L"uninstall %ls (settings too: %ls)", installFolder.c_str(), removeSettings ? L"yes" : L"no");
    if (env.testMode && !isInsideFolder(installFolder, env.testRoot)) {
        result.message = L"(test) The folder is outside the test folder.";
        return result;
    }
    progress(0.0f, kRemoving);

    std::vector<std::string> names = namesToRemove(installFolder);
    bool installationThere = true;
    if (names.empty() && targetExists(installFolder)) {
        if (appInFolder(installFolder)) {
            result.message =
                L"Setup cannot tell which files in " + installFolder + L" are Glimmerline'. Nothing was removed.";
            return result;
        }
        // An entry written by hand or by another tool that names a folder of the user's.
        logLine(L"no installation in %ls; nothing removed from it", installFolder.c_str());
        installationThere = false;
    }
    bool ownsEntry = entryBelongsTo(env, installFolder);

    std::vector<std::wstring> stayed;
    if (installationThere) {
        names.push_back(kUninstallerPayloadName);
        std::vector<std::wstring> listed;
        const float count = static_cast<float>(names.size());
        size_t handled = 0;
        for (const std::string& name : names) {
            std::wstring relative = pathFromPayloadName(name);
            if (relative.empty()) continue;
            std::wstring path = joinPath(installFolder, relative);
            listed.push_back(path);
            if (leaveUninstaller && name == kUninstallerPayloadName) {
                result.uninstallerLeft = true;
                continue;
            }
            if (!deleteListed(name, path)) stayed.push_back(path);
            ++handled;
            progress(static_cast<float>(handled) * 0.6f / count, kRemoving);
        }
        removeTree(joinPath(installFolder, kStagingName));
        removeOldLeftovers(installFolder);
        // Only the folders that held the app's files, and the install folder when it is empty.
        removeEmptiedFolders(installFolder, listed);
        if (isEmptyFolder(installFolder)) ::RemoveDirectoryW(installFolder.c_str());
        for (const std::wstring& path : stayed) logLine(L"could not remove %ls", path.c_str());
    }

    progress(0.7f, L"Removing the shortcuts");
    removeShortcutIfOurs(joinPath(env.startMenuPrograms, kShortcutName), installFolder);
    removeShortcutIfOurs(joinPath(env.desktopDir, kShortcutName), installFolder);
    if (!env.testMode) ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);

    progress(0.8f, L"Removing Glimmerline from Windows");
    if (ownsEntry) {
        deleteAppsEntry(env);
    } else {
        logLine(L"the installed apps entry names another folder; kept");
    }

    // Live's script and device serve whichever installation is left: while the entry names another
    // folder that still holds the app, they stay for it.
    progress(0.85f, L"Removing the Live script");
    ExistingInstall other = ownsEntry ? ExistingInstall() : findExistingInstall(env);
    if (other.found) {
        logLine(L"Live's files are kept for the installation in %ls", other.folder.c_str());
    } else {
        result.liveFilesLeft = removeLiveFiles(env);
    }

    if (removeSettings && !env.settingsDir.empty() && targetExists(env.settingsDir)) {
        progress(0.92f, L"Removing your settings");
        removeTree(env.settingsDir, &result.settingsFilesLeft);
        result.settingsRemoved = !targetExists(env.settingsDir);
        logLine(L"settings folder %ls: %ls", env.settingsDir.c_str(), result.settingsRemoved ? L"removed" : L"partly left");
    }

    progress(1.0f, L"Done");
    result.ok = stayed.empty();
    if (!result.ok) result.message = filesLeftInUseMessage(programsHolding(stayed), stayed, installFolder);
    logLine(L"uninstall done: %ls, Live files left %zu", result.ok ? L"ok" : L"files left", result.liveFilesLeft.size());
    return result;
}

void removeLeftUninstaller(const std::wstring& installFolder)
{
    std::wstring path = joinPath(installFolder, kUninstallerExe);
    if (!deleteListed(kUninstallerPayloadName, path)) logLine(L"could not remove %ls", path.c_str());
    if (isEmptyFolder(installFolder)) ::RemoveDirectoryW(installFolder.c_str());
}

} // namespace gls
