// The copy phase of an install, stage by stage.
#include "file_transaction.h"

#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "file_io.h"
#include "payload/payload.h"
#include "payload/payload_name.h"
#include "platform/file_status.h"
#include "platform/log.h"
#include "platform/remove_files.h"
#include "platform/system_error_text.h"
#include "platform/tree_walk.h"

#include <windows.h>

namespace gls {

namespace {

const wchar_t kCopying[] = L"Copying files";

bool fail(InstallResult& result, std::wstring message, const wchar_t* reason)
{
    result.ok = false;
    result.message = std::move(message);
    result.reason = reason;
    return false;
}

std::wstring unfinishedRollbackMessage(const CopyPhase& phase)
{
    return L"Setup could not finish, and could not put every old file back: they are in " + phase.oldFilesDir +
           L". Run Setup again.";
}

bool sameNameIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

} // namespace

bool prepareFolder(CopyPhase& phase, InstallResult& result)
{
    const unsigned char probe[] = {'x'};
    std::wstring probePath = joinPath(phase.installDir, kProbeName);
    if (!writeWholeFile(probePath, probe, 1)) {
        DWORD error = ::GetLastError();
        logLine(L"can't write in %ls: %ls", phase.installDir.c_str(), systemErrorText(error).c_str());
        return fail(result,
                    L"Windows did not let Setup write in " + phase.installDir +
                        L". Pick a folder in your own user folder, or check that the drive has room.",
                    L"its folder can't be written");
    }
    ::DeleteFileW(probePath.c_str());

    phase.stagingDir = joinPath(phase.installDir, kStagingName);
    phase.oldFilesDir = joinPath(phase.installDir, kOldFilesPrefix + (L"-" + std::to_wstring(::GetCurrentProcessId())));
    removeTree(phase.stagingDir);
    removeOldLeftovers(phase.installDir);

    phase.installedNames.clear();
    for (const PayloadEntry& e : listPayloadOf(joinPath(phase.installDir, kUninstallerExe))) {
        phase.installedNames.push_back(e.name);
    }
    return true;
}

bool planFile(CopyPhase& phase, const std::string& name, const unsigned char* data, std::uint64_t size)
{
    std::wstring relative = pathFromPayloadName(name);
    if (relative.empty()) return false;
    phase.files.push_back({name, joinPath(phase.stagingDir, relative), joinPath(phase.installDir, relative), data, size});
    phase.totalBytes += size;
    return true;
}

bool stageFiles(CopyPhase& phase, const ProgressCallback& progress, InstallResult& result)
{
    std::uint64_t staged = 0;
    double total = static_cast<double>(std::max<std::uint64_t>(phase.totalBytes, 1));
    for (const PlannedFile& f : phase.files) {
        if (!writeWholeFile(f.stagedPath, f.data, f.size)) {
            DWORD error = ::GetLastError();
            logLine(L"can't write %ls: %ls", f.stagedPath.c_str(), systemErrorText(error).c_str());
            removeTree(phase.stagingDir);
            if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) {
                return fail(result, L"The drive is full. Make some room and run Setup again.", L"the drive is full");
            }
            return fail(result,
                        L"Setup could not write its files in " + phase.installDir + L": " + systemErrorText(error) + L".",
                        L"its folder can't be written");
        }
        staged += f.size;
        // The ratio first, so that the last file lands on exactly 0.75.
        progress(0.75f * static_cast<float>(static_cast<double>(staged) / total), kCopying);
    }
    return true;
}

bool verifyStaged(CopyPhase& phase, const ProgressCallback& progress, InstallResult& result)
{
    for (const PlannedFile& f : phase.files) {
        if (!readsBackSame(f.stagedPath, f.data, f.size)) {
            logLine(L"%ls reads back different", f.stagedPath.c_str());
            removeTree(phase.stagingDir);
            return fail(result, L"A file did not read back as it was written. Check the drive, then run Setup again.",
                        L"a file did not read back");
        }
    }
    progress(0.8f, kCopying);
    return true;
}

bool swapFiles(CopyPhase& phase, const ProgressCallback& progress, InstallResult& result)
{
    phase.journal.clear();
    for (const PlannedFile& f : phase.files) {
        std::wstring relative = pathFromPayloadName(f.name);
        JournalEntry entry{f.finalPath, joinPath(phase.oldFilesDir, relative), entryExists(f.finalPath)};
        createParentFolder(f.finalPath);
        if (entry.movedAside) {
            createParentFolder(entry.asidePath);
            ::SetFileAttributesW(f.finalPath.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!moveWithRetry(f.finalPath, entry.asidePath, 0)) {
                DWORD error = ::GetLastError();
                logLine(L"can't move aside %ls: %ls", f.finalPath.c_str(), systemErrorText(error).c_str());
                bool back = rollBack(phase.journal, phase.stagingDir, phase.installDir, phase.oldFilesDir);
                return fail(result,
                            back ? L"Another program has " + lastComponent(f.finalPath) +
                                       L" open. Close it, then run Setup again. Nothing was changed."
                                 : unfinishedRollbackMessage(phase),
                            L"a file was in use");
            }
        }
        if (!moveWithRetry(f.stagedPath, f.finalPath, 0)) {
            DWORD error = ::GetLastError();
            logLine(L"can't put %ls in place: %ls", f.finalPath.c_str(), systemErrorText(error).c_str());
            bool thisOneBack = true;
            if (entry.movedAside && !moveWithRetry(entry.asidePath, f.finalPath, 0)) {
                logLine(L"can't put back %ls: %ls", f.finalPath.c_str(), systemErrorText(::GetLastError()).c_str());
                thisOneBack = false;
            }
            bool back = rollBack(phase.journal, phase.stagingDir, phase.installDir, phase.oldFilesDir);
            return fail(result,
                        back && thisOneBack ? L"Setup could not put " + lastComponent(f.finalPath) + L" in place: " +
                                                  systemErrorText(error) + L". Nothing was changed."
                                            : unfinishedRollbackMessage(phase),
                        L"a file could not be moved");
        }
        phase.journal.push_back(std::move(entry));
    }
    progress(0.88f, kCopying);
    return true;
}

bool rollBack(const std::vector<JournalEntry>& journal, const std::wstring& stagingDir, const std::wstring& installDir,
              const std::wstring& oldFilesDir)
{
    bool allBack = true;
    std::wstring prefix = joinPath(installDir, L"");
    for (auto it = journal.rbegin(); it != journal.rend(); ++it) {
        std::wstring relative = it->finalPath.substr(std::min(prefix.size(), it->finalPath.size()));
        std::wstring stagedPlace = joinPath(stagingDir, relative);
        createParentFolder(stagedPlace);
        if (!moveWithRetry(it->finalPath, stagedPlace, MOVEFILE_REPLACE_EXISTING)) {
            logLine(L"can't take back the new %ls: %ls", it->finalPath.c_str(), systemErrorText(::GetLastError()).c_str());
            allBack = false;
            continue;
        }
        if (it->movedAside && !moveWithRetry(it->asidePath, it->finalPath, 0)) {
            logLine(L"can't put back %ls: %ls", it->finalPath.c_str(), systemErrorText(::GetLastError()).c_str());
            allBack = false;
        }
    }
    removeTree(stagingDir);
    if (allBack) {
        removeTree(oldFilesDir);
        return true;
    }
    logLine(L"not every old file could be put back: they are kept in %ls", oldFilesDir.c_str());
    return false;
}

void takeOutOldFiles(const CopyPhase& phase)
{
    // Names are compared without regard to letter case, as the file system compares them: an old
    // name that differs from a new one only in case addresses the new file, which must stay.
    std::vector<std::wstring> planned;
    for (const PlannedFile& f : phase.files) planned.push_back(pathFromPayloadName(f.name));
    for (const std::string& name : phase.installedNames) {
        std::wstring relative = pathFromPayloadName(name);
        if (relative.empty()) continue;
        bool stillShipped = false;
        for (const std::wstring& p : planned) stillShipped = stillShipped || sameNameIgnoringCase(p, relative);
        if (stillShipped) continue;
        std::wstring from = joinPath(phase.installDir, relative);
        std::wstring to = joinPath(phase.oldFilesDir, relative);
        createParentFolder(to);
        if (::MoveFileExW(from.c_str(), to.c_str(), 0)) logLine(L"took out %ls (not in this version)", from.c_str());
    }
}

void cleanUp(const CopyPhase& phase)
{
    removeTree(phase.oldFilesDir);
    removeTree(phase.stagingDir);
    for (const TreeEntry& e : walkTree(phase.installDir, false)) {
        if (e.isFolder && !e.isLink) removeEmptyFolders(e.path);
    }
}

} // namespace gls
