// The install job, step by step.
#include "install_job.h"

#include "core/path_rules.h"
#include "core/payload_archive.h"
#include "core/product.h"
#include "file_transaction.h"
#include "install_folder.h"
#include "installation/apps_entry.h"
#include "installation/shortcuts.h"
#include "platform/create_folders.h"
#include "platform/env.h"
#include "platform/log.h"
#include "platform/own_path.h"
#include "platform/unique_handle.h"

#include <windows.h>

#include <vector>

namespace gls {

namespace {

InstallResult failed(Message message, const wchar_t* reason)
{
    InstallResult result;
    result.message = std::move(message);
    result.reason = reason;
    return result;
}

// The running program file, mapped read-only: the uninstaller is written from it without a copy
// on the heap, however large the payload inside it.
struct OwnFile {
    UniqueFile file;
    UniqueKernelHandle mapping;
    UniqueMappedView view;
    std::uint64_t size = 0;
    const unsigned char* bytes() const { return static_cast<const unsigned char*>(view.get()); }
};

// False when the file cannot be opened, is empty or cannot be mapped.
bool mapOwnFile(OwnFile& own)
{
    own.file.reset(::CreateFileW(ownExePath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!own.file || !::GetFileSizeEx(own.file.get(), &size) || size.QuadPart <= 0) return false;
    own.size = static_cast<std::uint64_t>(size.QuadPart);
    own.mapping.reset(::CreateFileMappingW(own.file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!own.mapping) return false;
    own.view.reset(::MapViewOfFile(own.mapping.get(), FILE_MAP_READ, 0, 0, 0));
    return static_cast<bool>(own.view);
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
        return failed(Txt::TestOutsideTestFolder, L"(test) the folder is outside the test folder");
    }
    progress(0.0f, Txt::StepGettingReady);
    createFolders(installDir);

    InstallResult result;
    CopyPhase phase;
    phase.installDir = installDir;
    if (!prepareFolder(phase, result)) return result;

    for (const PayloadEntry& e : payload.entries) {
        if (!planFile(phase, e.name, e.data, e.size)) {
            logLine(L"payload: a name is not valid UTF-8");
            return failed(Txt::ErrorSetupDamaged, L"the download was damaged");
        }
    }
    OwnFile uninstaller;
    if (!mapOwnFile(uninstaller)) {
        return failed(Txt::ErrorOwnFileUnreadable, L"the setup was unreadable");
    }
    planFile(phase, kUninstallerPayloadName, uninstaller.bytes(), uninstaller.size);

    if (!stageFiles(phase, progress, result) || !verifyStaged(phase, progress, result) ||
        !swapFiles(phase, progress, result)) {
        return result;
    }
    takeOutOldFiles(phase);
    cleanUp(phase);

    progress(0.92f, Txt::StepAddingToWindows);
    if (!writeAppsEntry(env, installDir, phase.totalBytes)) {
        return failed(Txt::ErrorNotListed, L"Windows did not list it");
    }
    progress(0.96f, Txt::StepAddingShortcuts);
    ShortcutsMissing missing = makeShortcuts(env, installDir, desktopShortcut);
    result.startMenuShortcutMissing = missing.startMenu;
    result.desktopShortcutMissing = missing.desktop;
    progress(1.0f, Txt::StepDone);
    logLine(L"installed %zu files", phase.files.size());
    result.ok = true;
    return result;
}

} // namespace gls
