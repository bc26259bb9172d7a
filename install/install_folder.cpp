// The install folder rules, in order; the first that fails gives the user's sentence.
#include "install_folder.h"

#include "core/folder_rules.h"
#include "core/path_rules.h"
#include "platform/env.h"
#include "platform/file_identity.h"
#include "platform/file_status.h"
#include "platform/unique_handle.h"

#include <windows.h>

namespace gls {

namespace {

constexpr DWORD kFullPathBuffer = 1024;

// A path that begins with the letter of a network drive. The system answers from the drive's
// device without asking the server; a SUBST drive reports the type of what it stands for.
bool onNetworkDrive(const std::wstring& path)
{
    if (path.size() < 2 || path[1] != L':') return false;
    const wchar_t root[] = {path[0], L':', L'\\', L'\0'};
    return ::GetDriveTypeW(root) == DRIVE_REMOTE;
}

// The nearest folder on the way to this one that exists, as the system resolves it with every
// link on the way followed: "C:\..." for a drive, "\\?\UNC\server\share\..." for a share. Empty
// when it cannot be told.
std::wstring resolvedNearestFolder(const std::wstring& folder)
{
    std::wstring existing = folder;
    while (!isFolder(existing)) {
        std::wstring up = parentPath(existing);
        if (up.empty() || up == existing) return {};
        existing = up;
    }
    UniqueFile opened(::CreateFileW(existing.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!opened) return {};
    wchar_t resolved[kFullPathBuffer];
    DWORD length = ::GetFinalPathNameByHandleW(opened.get(), resolved, kFullPathBuffer,
                                               FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= kFullPathBuffer) return {};
    std::wstring path(resolved, length);
    if (path.size() >= 6 && path.compare(0, 4, L"\\\\?\\") == 0 && path[5] == L':') path.erase(0, 4);
    return path;
}

// A folder on another computer: below a network drive's letter, or behind a link that leads to a
// share or a network drive. The letter is told first, before anything on the drive is looked
// at, so that a server out of reach does not hold the check up.
bool onAnotherComputer(const std::wstring& folder)
{
    if (onNetworkDrive(folder)) return true;
    std::wstring resolved = resolvedNearestFolder(folder);
    return isNetworkPath(resolved) || onNetworkDrive(resolved);
}

} // namespace

FolderCheck checkInstallFolder(const Env& env, const std::wstring& text)
{
    FolderCheck typed = checkTypedFolder(text);
    if (!typed.ok()) return typed;

    wchar_t resolved[kFullPathBuffer];
    DWORD length = ::GetFullPathNameW(typed.value.c_str(), kFullPathBuffer, resolved, nullptr);
    if (length == 0 || length >= kFullPathBuffer) return refused<std::wstring>(Message(Txt::FolderPathTooLong));
    FolderCheck full = checkFullFolder(std::wstring(resolved, length));
    if (!full.ok()) return full;
    if (onAnotherComputer(full.value)) return refused<std::wstring>(Message(Txt::FolderNotOnThisPc));

    bool there = entryExists(full.value);
    if (there && !isFolder(full.value)) {
        return refused<std::wstring>(Message(Txt::FolderIsAFile));
    }
    if (env.testMode && !isInsideFolder(full.value, env.testRoot)) {
        return refused<std::wstring>(Message(Txt::TestOutsideTestFolder));
    }
    full = checkNotUserFolder(std::move(full.value), env.userFolders);
    if (!full.ok()) return full;
    // Another spelling of one of them: a link to it, a short name, letters beyond ASCII in another case.
    for (const std::wstring& own : env.userFolders) {
        if (there && !own.empty() && sameFolderOnDisk(full.value, own)) {
            return refused<std::wstring>(Message(Txt::FolderUsersOwn));
        }
    }
    return full;
}

} // namespace gls
