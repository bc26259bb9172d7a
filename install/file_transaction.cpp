// The copy phase of an install, stage by stage.
#include "file_transaction.h"

#include "core/in_use_message.h"
#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "payload/payload.h"
#include "payload/payload_name.h"
#include "platform/file_holders.h"
#include "platform/file_io.h"
#include "platform/file_name_order.h"
#include "platform/file_status.h"
#include "platform/job_number.h"
#include "platform/log.h"
#include "platform/remove_files.h"
#include "platform/system_error_text.h"
#include "platform/tree_walk.h"

#include <windows.h>

#include <algorithm>
#include <set>

namespace gls {

namespace {

using Step = JournalEntry::Step;
// Names as the file system compares them: letter case ignored.
using NameSet = std::set<std::wstring, FileNameLess>;

// What SetFileAttributesW can give back.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                      FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;

bool fail(InstallResult& result, Message message, const wchar_t* reason)
{
    result.ok = false;
    result.message = std::move(message);
    result.reason = reason;
    return false;
}

Message unfinishedRollbackMessage(const CopyPhase& phase)
{
    return Message(Txt::ErrorRollbackUnfinished, {{L"folder", phase.oldFilesDir}});
}

Message inUseMessage(const CopyPhase& phase, const std::wstring& path, bool allBack)
{
    return allBack ? fileInUseMessage(programsHolding({path}), lastComponent(path)) : unfinishedRollbackMessage(phase);
}

// The system's answers when an on-access scanner refuses a file it takes for a threat: the file
// holds a virus (225), or it was deleted as one (226). This toolchain's headers lack both names.
constexpr DWORD kErrorVirusInfected = 225;
constexpr DWORD kErrorVirusDeleted = 226;
bool blockedByScanner(DWORD error) { return error == kErrorVirusInfected || error == kErrorVirusDeleted; }

Message scannerMessage(const CopyPhase& phase, const std::wstring& path, bool allBack)
{
    return allBack ? Message(Txt::ErrorScannerBlocked, {{L"file", lastComponent(path)}})
                   : unfinishedRollbackMessage(phase);
}

bool heldByAnother(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

// A payload name below the install folder with backslashes, the form the walks give, so that the
// names of both versions and of the disk compare alike. Empty when the name is no path.
std::wstring nameKey(const std::string& name)
{
    std::wstring key = pathFromPayloadName(name);
    std::replace(key.begin(), key.end(), L'/', L'\\');
    return key;
}

// The folders a relative path lies in, outermost first: "a\b\c" gives "a" and "a\b".
std::vector<std::wstring> foldersOf(const std::wstring& key)
{
    std::vector<std::wstring> folders;
    for (std::size_t at = key.find(L'\\'); at != std::wstring::npos; at = key.find(L'\\', at + 1)) {
        folders.push_back(key.substr(0, at));
    }
    return folders;
}

// Names of one version: its files, and the folders they lie in.
struct VersionNames {
    NameSet files;
    NameSet folders;
    void add(const std::wstring& key)
    {
        if (key.empty()) return;
        files.insert(key);
        for (std::wstring& folder : foldersOf(key)) folders.insert(std::move(folder));
    }
};

bool reachedWithoutLinks(const std::wstring& installDir, const std::wstring& key, LinkFreeFolders& linkFree)
{
    return firstLinkOnTheWay(installDir, key, linkFree).empty();
}

// Whether what stands at the relative path is the installed version's own: a file it lists, or a
// folder holding nothing but files it lists and the folders they lie in; reached and holding no link.
bool installedVersionOwns(const CopyPhase& phase, const VersionNames& installed, const std::wstring& key,
                          bool isFolderThere, LinkFreeFolders& linkFree)
{
    if (!reachedWithoutLinks(phase.installDir, key, linkFree)) return false;
    if (!isFolderThere) return installed.files.contains(key);
    if (!installed.folders.contains(key)) return false;
    std::size_t below = joinPath(phase.installDir, L"").size();
    TreeListing listing = walkTree(joinPath(phase.installDir, key));
    // A walk that stopped early cannot tell that nothing else is in the folder.
    if (!listing.complete) return false;
    for (const TreeEntry& e : listing) {
        std::wstring entryKey = e.path.substr(below);
        if (e.isLink || !(e.isFolder ? installed.folders : installed.files).contains(entryKey)) return false;
    }
    return true;
}

// Moves the entry at finalPath aside with its attributes cleared, so that a read-only one moves
// too; the journal entry keeps them. When the move fails they are given back at once.
bool moveAside(JournalEntry& entry)
{
    DWORD attributes = ::GetFileAttributesW(entry.finalPath.c_str());
    entry.attributes = attributes == INVALID_FILE_ATTRIBUTES ? FILE_ATTRIBUTE_NORMAL : attributes;
    createParentFolder(entry.asidePath);
    ::SetFileAttributesW(entry.finalPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    entry.movedAside = moveFile(entry.finalPath, entry.asidePath, 0);
    if (!entry.movedAside) {
        DWORD error = ::GetLastError();
        ::SetFileAttributesW(entry.finalPath.c_str(), entry.attributes & kSettableAttributes);
        ::SetLastError(error);
    }
    return entry.movedAside;
}

// Moves a moved-aside entry back, with the attributes it had.
bool moveBack(const JournalEntry& entry)
{
    if (!moveFile(entry.asidePath, entry.finalPath, 0)) return false;
    DWORD attributes = entry.attributes & kSettableAttributes;
    ::SetFileAttributesW(entry.finalPath.c_str(), attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL);
    return true;
}

// Makes the folders below the install folder that a new file needs, each journalled, so that a
// rollback takes them away again.
void makeFoldersFor(CopyPhase& phase, const std::wstring& path)
{
    std::vector<std::wstring> missing;
    for (std::wstring folder = parentPath(path); folder.size() > phase.installDir.size() && !entryExists(folder);
         folder = parentPath(folder)) {
        missing.push_back(folder);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (!::CreateDirectoryW(it->c_str(), nullptr)) return;
        JournalEntry made;
        made.step = Step::MadeFolder;
        made.finalPath = *it;
        phase.journal.push_back(std::move(made));
    }
}

// What stands where a planned file or one of its folders must go: a file (or anything else that
// is no folder) where a folder must go, or a folder where the file must go. Empty when the way is
// free; `isFolderThere` tells which. `folders` remembers the folders found, which many files share.
std::wstring inTheWayOf(const CopyPhase& phase, const PlannedFile& file, bool& isFolderThere, NameSet& folders)
{
    std::wstring key = nameKey(file.name);
    for (const std::wstring& folder : foldersOf(key)) {
        if (folders.contains(folder)) continue;
        DWORD attributes = ::GetFileAttributesW(joinPath(phase.installDir, folder).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return {}; // nothing there, nor below it
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            isFolderThere = false;
            return folder;
        }
        folders.insert(folder);
    }
    DWORD attributes = ::GetFileAttributesW(file.finalPath.c_str());
    isFolderThere = true;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? key : std::wstring();
}

// Before any swap: the installed version's own entries that stand where this version needs a file
// or a folder are taken aside into the old-files folder, journalled. When anything else stands
// there, the swap ends before anything has changed: nothing of the user's ever goes into the
// old-files folder, which is deleted afterwards.
bool clearTheWay(CopyPhase& phase, InstallResult& result)
{
    VersionNames installed;
    for (const std::string& name : phase.installedNames) installed.add(nameKey(name));
    NameSet seen, folders;
    LinkFreeFolders linkFree;
    std::vector<std::wstring> owned;
    auto refuse = [&](const std::wstring& path) {
        logLine(L"in the way, and not Glimmerline's: %ls", path.c_str());
        removeTree(phase.stagingDir);
        return fail(result, Message(Txt::ErrorInTheWay, {{L"path", path}}), L"something was in the way");
    };
    for (const PlannedFile& f : phase.files) {
        // The setup never makes a link: one on the way to a new file, or in its place, is the
        // user's, and a file moved through it would land in, or replace one of, the user's own.
        std::wstring link = firstLinkOnTheWay(phase.installDir, nameKey(f.name), linkFree);
        if (!link.empty()) return refuse(link);
        bool isFolderThere = false;
        std::wstring key = inTheWayOf(phase, f, isFolderThere, folders);
        if (key.empty() || !seen.insert(key).second) continue;
        if (installedVersionOwns(phase, installed, key, isFolderThere, linkFree)) {
            owned.push_back(key);
            continue;
        }
        return refuse(joinPath(phase.installDir, key));
    }
    for (const std::wstring& key : owned) {
        JournalEntry entry{Step::TakenAside, joinPath(phase.installDir, key), joinPath(phase.oldFilesDir, key)};
        if (!moveAside(entry)) {
            logLine(L"can't move aside %ls: %ls", entry.finalPath.c_str(), systemErrorText(::GetLastError()).c_str());
            bool back = rollBack(phase.journal, phase.stagingDir, phase.installDir, phase.oldFilesDir);
            return fail(result, inUseMessage(phase, entry.finalPath, back), L"a file was in use");
        }
        logLine(L"took aside %ls: this version needs its place", entry.finalPath.c_str());
        phase.journal.push_back(std::move(entry));
    }
    return true;
}

} // namespace

bool prepareFolder(CopyPhase& phase, InstallResult& result)
{
    // Names of this job alone: an earlier job's may still be pending deletion, held by a program
    // that shares delete.
    const unsigned long pid = ::GetCurrentProcessId();
    const unsigned job = nextJobNumber();
    const unsigned char probe[] = {'x'};
    std::wstring probePath = joinPath(phase.installDir, workName(kProbePrefix, pid, job));
    if (!writeWholeFile(probePath, probe, 1)) {
        DWORD error = ::GetLastError();
        logLine(L"can't write in %ls: %ls", phase.installDir.c_str(), systemErrorText(error).c_str());
        return fail(result, Message(Txt::ErrorCannotWriteFolder, {{L"folder", phase.installDir}}),
                    L"its folder can't be written");
    }
    (void)deleteFile(probePath);

    phase.stagingDir = joinPath(phase.installDir, workName(kStagingPrefix, pid, job));
    phase.oldFilesDir = joinPath(phase.installDir, workName(kOldFilesPrefix, pid, job));
    // The setup's mutex is held: every other work name is what a run that ended left.
    removeWorkLeftovers(phase.installDir);

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
    phase.files.push_back(
        {name, joinPath(phase.stagingDir, relative), joinPath(phase.installDir, relative), data, size});
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
                return fail(result, Txt::ErrorDriveFull, L"the drive is full");
            }
            if (blockedByScanner(error)) {
                return fail(result, scannerMessage(phase, f.finalPath, true), L"a virus scanner blocked a file");
            }
            return fail(result,
                        Message(Txt::ErrorCannotWriteFiles,
                                {{L"folder", phase.installDir}, {L"error", systemErrorText(error)}}),
                        L"its folder can't be written");
        }
        staged += f.size;
        // The ratio first, so that the last file lands on exactly 0.75.
        progress(0.75f * static_cast<float>(static_cast<double>(staged) / total), Txt::StepCopying);
    }
    return true;
}

bool verifyStaged(CopyPhase& phase, const ProgressCallback& progress, InstallResult& result)
{
    for (const PlannedFile& f : phase.files) {
        ReadBack read = readBack(f.stagedPath, f.data, f.size);
        if (read == ReadBack::Same) continue;
        DWORD error = ::GetLastError();
        if (read == ReadBack::Unreadable) {
            logLine(L"can't read back %ls: %ls", f.stagedPath.c_str(), systemErrorText(error).c_str());
        } else {
            logLine(L"%ls reads back different", f.stagedPath.c_str());
        }
        removeTree(phase.stagingDir);
        // Held by another program, or refused by a scanner, the drive is not at fault.
        if (read == ReadBack::Unreadable && heldByAnother(error)) {
            return fail(result, inUseMessage(phase, f.stagedPath, true), L"a file was in use");
        }
        if (read == ReadBack::Unreadable && blockedByScanner(error)) {
            return fail(result, scannerMessage(phase, f.finalPath, true), L"a virus scanner blocked a file");
        }
        return fail(result, Txt::ErrorReadBack, L"a file did not read back");
    }
    progress(0.8f, Txt::StepCopying);
    return true;
}

bool swapFiles(CopyPhase& phase, const ProgressCallback& progress, InstallResult& result)
{
    phase.journal.clear();
    if (!clearTheWay(phase, result)) return false;
    for (const PlannedFile& f : phase.files) {
        JournalEntry entry{Step::Placed, f.finalPath, joinPath(phase.oldFilesDir, pathFromPayloadName(f.name))};
        bool oldThere = entryExists(f.finalPath);
        makeFoldersFor(phase, f.finalPath);
        if (oldThere && !moveAside(entry)) {
            logLine(L"can't move aside %ls: %ls", f.finalPath.c_str(), systemErrorText(::GetLastError()).c_str());
            bool back = rollBack(phase.journal, phase.stagingDir, phase.installDir, phase.oldFilesDir);
            return fail(result, inUseMessage(phase, f.finalPath, back), L"a file was in use");
        }
        if (!moveFile(f.stagedPath, f.finalPath, 0)) {
            DWORD error = ::GetLastError();
            logLine(L"can't put %ls in place: %ls", f.finalPath.c_str(), systemErrorText(error).c_str());
            bool thisOneBack = true;
            if (entry.movedAside && !moveBack(entry)) {
                logLine(L"can't put back %ls: %ls", f.finalPath.c_str(), systemErrorText(::GetLastError()).c_str());
                thisOneBack = false;
            }
            bool back = rollBack(phase.journal, phase.stagingDir, phase.installDir, phase.oldFilesDir) && thisOneBack;
            if (blockedByScanner(error)) {
                return fail(result, scannerMessage(phase, f.finalPath, back), L"a virus scanner blocked a file");
            }
            return fail(result,
                        back ? Message(Txt::ErrorCannotPlace,
                                       {{L"file", lastComponent(f.finalPath)}, {L"error", systemErrorText(error)}})
                             : unfinishedRollbackMessage(phase),
                        L"a file could not be moved");
        }
        phase.journal.push_back(std::move(entry));
    }
    progress(0.88f, Txt::StepCopying);
    return true;
}

bool rollBack(const std::vector<JournalEntry>& journal, const std::wstring& stagingDir, const std::wstring& installDir,
              const std::wstring& oldFilesDir)
{
    bool allBack = true;
    std::wstring prefix = joinPath(installDir, L"");
    for (auto it = journal.rbegin(); it != journal.rend(); ++it) {
        if (it->step == Step::MadeFolder) {
            // Empty again once the files below it went back; otherwise it stays.
            ::RemoveDirectoryW(it->finalPath.c_str());
            continue;
        }
        if (it->step == Step::Placed) {
            std::wstring relative = it->finalPath.substr(std::min(prefix.size(), it->finalPath.size()));
            std::wstring stagedPlace = joinPath(stagingDir, relative);
            createParentFolder(stagedPlace);
            if (!moveFile(it->finalPath, stagedPlace, MOVEFILE_REPLACE_EXISTING)) {
                logLine(L"can't take back the new %ls: %ls", it->finalPath.c_str(),
                        systemErrorText(::GetLastError()).c_str());
                allBack = false;
                continue;
            }
        }
        if (it->movedAside && !moveBack(*it)) {
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

void takeOutOldFiles(CopyPhase& phase)
{
    // Names are compared as the file system compares them, without regard to letter case: an old
    // name that differs from a new one only in case addresses the new file, which must stay. A name
    // that is one of this version's folders, or lies below one of its files, was taken aside
    // before the swap, if at all.
    VersionNames shipped;
    for (const PlannedFile& f : phase.files) shipped.add(nameKey(f.name));
    LinkFreeFolders linkFree;
    for (const std::string& name : phase.installedNames) {
        std::wstring key = nameKey(name);
        if (key.empty() || shipped.files.contains(key) || shipped.folders.contains(key)) continue;
        std::vector<std::wstring> folders = foldersOf(key);
        if (std::any_of(folders.begin(), folders.end(),
                        [&](const std::wstring& f) { return shipped.files.contains(f); })) {
            continue;
        }
        std::wstring relative = pathFromPayloadName(name);
        std::wstring from = joinPath(phase.installDir, relative);
        // Only the old file: a folder of its name now is someone else's.
        DWORD attributes = ::GetFileAttributesW(from.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        if (!reachedWithoutLinks(phase.installDir, key, linkFree)) {
            logLine(L"left %ls: a link lies on its way", from.c_str());
            continue;
        }
        std::wstring to = joinPath(phase.oldFilesDir, relative);
        createParentFolder(to);
        if (moveFile(from, to, 0)) {
            logLine(L"took out %ls (not in this version)", from.c_str());
            phase.takenOut.push_back(from);
        }
    }
}

void cleanUp(const CopyPhase& phase)
{
    removeTree(phase.oldFilesDir);
    removeTree(phase.stagingDir);
    removeEmptiedFolders(phase.installDir, phase.takenOut);
}

} // namespace gls
