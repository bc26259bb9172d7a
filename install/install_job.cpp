// The install job, step by step.
#include "install_job.h"

#include "apps_entry.h"
#include "core/path_rules.h"
#include "core/payload_archive.h"
#include "core/product.h"
#include "file_transaction.h"
#include "install_folder.h"
#include "platform/create_folders.h"
#include "platform/env.h"
#include "platform/log.h"
#include "platform/own_path.h"
#include "platform/unique_handle.h"
#include "shortcuts.h"

#include <windows.h>

#include <vector>

namespace gls {

namespace {

InstallResult failed(std::wstring message, const wchar_t* reason)
{
    InstallResult result;
    result.message = std::move(message);
    result.reason = reason;
    return result;
}

// The running program file, whole; empty when it cannot be read.
std::vector<unsigned char> readOwnFile()
{
    std::vector<unsigned char> bytes;
    UniqueFile file(::CreateFileW(ownExePath().c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > (1ll << 31)) return bytes;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()) {
        bytes.clear();
    }
    return bytes;
}

} // namespace

InstallResult installApp(const Env& env, const Payload& payload, const std::wstring& installDir, bool desktopShortcut,
                         const ProgressCallback& progress)
{
    logLine(L"install into %ls (desktop shortcut: %ls)", installDir.c_str(), desktopShortcut ? L"yes" : L"no");
    // Every file of the job is joined to this folder: empty or relative, they would land in the
    // current directory; a bare root would make a whole drive the install folder.
    if (!isFolderBelowRoot(installDir)) {
        return failed(checkInstallFolder(env, installDir).problem, L"its folder can't be used");
    }
    if (env.testMode && !isInsideFolder(installDir, env.testRoot)) {
        return failed(L"(test) The folder is outside the test folder.", L"(test) the folder is outside the test folder");
    }
    progress(0.0f, L"Getting ready");
    createFolders(installDir);

    InstallResult result;
    CopyPhase phase;
    phase.installDir = installDir;
    if (!prepareFolder(phase, result)) return result;

    for (const PayloadEntry& e : payload.entries) {
        if (!planFile(phase, e.name, e.data, e.size)) {
            logLine(L"payload: a name is not valid UTF-8");
            return failed(L"This setup file is damaged or incomplete. Download it again.", L"the download was damaged");
        }
    }
    std::vector<unsigned char> uninstaller = readOwnFile();
    if (uninstaller.empty()) {
        return failed(L"Setup could not read its own file. Download it again and run it from your Downloads folder.",
                      L"the setup was unreadable");
    }
    planFile(phase, kUninstallerPayloadName, uninstaller.data(), uninstaller.size());

    if (!stageFiles(phase, progress, result) || !verifyStaged(phase, progress, result) ||
        !swapFiles(phase, progress, result)) {
        return result;
    }
    takeOutOldFiles(phase);
    cleanUp(phase);

    progress(0.92f, L"Adding Glimmerline to Windows");
    if (!writeAppsEntry(env, installDir, phase.totalBytes)) {
        return failed(L"Glimmerline is copied, but Windows did not let Setup add it to its list of apps.",
                      L"Windows did not list it");
    }
    progress(0.96f, L"Adding the shortcuts");
    makeShortcuts(env, installDir, desktopShortcut);
    progress(1.0f, L"Done");
    logLine(L"installed %zu files", phase.files.size());
    result.ok = true;
    return result;
}

} // namespace gls
