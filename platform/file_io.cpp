// File operations that wait for a file another program holds for a moment.
#include "file_io.h"

#include "core/path_rules.h"
#include "create_folders.h"
#include "unique_handle.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace gls {

namespace {

constexpr std::uint64_t kPiece = 1048576;

bool gone(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

} // namespace

Refusal refusalOf(unsigned long error)
{
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return Refusal::InUse;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return Refusal::Protected;
    default: return Refusal::Other;
    }
}

void createParentFolder(const std::wstring& path) { createFolders(parentPath(path)); }

bool writeWholeFile(const std::wstring& path, const unsigned char* data, std::uint64_t size, bool shareWithReaders)
{
    createParentFolder(path);
    DWORD sharing = shareWithReaders ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0;
    UniqueFile file;
    bool opened = retryWhileHeld(path, [&] {
        file.reset(::CreateFileW(path.c_str(), GENERIC_WRITE, sharing, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
        return static_cast<bool>(file);
    });
    if (!opened) return false;
    std::uint64_t done = 0;
    while (done < size) {
        DWORD piece = static_cast<DWORD>(std::min(kPiece, size - done));
        DWORD written = 0;
        if (!::WriteFile(file.get(), data + done, piece, &written, nullptr)) return false;
        // A short write is continued: the next call either goes on or fails with the real cause
        // (a full drive shows up this way under Wine). A write that makes no progress fails.
        if (written == 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        done += written;
    }
    if (!::FlushFileBuffers(file.get())) return false;
    if (!::CloseHandle(file.release())) return false;
    return true;
}

ReadBack readBack(const std::wstring& path, const unsigned char* expected, std::uint64_t size)
{
    UniqueFile file;
    bool opened = retryWhileHeld(path, [&] {
        file.reset(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        return static_cast<bool>(file);
    });
    if (!opened) return ReadBack::Unreadable;
    std::vector<unsigned char> buffer(static_cast<size_t>(std::min(kPiece, std::max<std::uint64_t>(size, 1))));
    std::uint64_t done = 0;
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
            return ReadBack::Unreadable;
        }
        if (read == 0) return done == size ? ReadBack::Same : ReadBack::Different;
        if (read > size - done) return ReadBack::Different;
        if (std::memcmp(buffer.data(), expected + done, read) != 0) return ReadBack::Different;
        done += read;
    }
}

bool moveFile(const std::wstring& from, const std::wstring& to, unsigned long flags)
{
    return retryWhileHeld(from, [&] { return ::MoveFileExW(from.c_str(), to.c_str(), flags) != FALSE; });
}

bool copyFile(const std::wstring& from, const std::wstring& to)
{
    return retryWhileHeld(to, [&] { return ::CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE; });
}

namespace {

// A read-only entry's access denied comes from its attribute, not from another program: no wait
// mends it, and ERROR_FILE_READ_ONLY says so.
bool failedFor(const std::wstring& path)
{
    DWORD error = ::GetLastError();
    if (gone(error)) return true;
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    ::SetLastError(error == ERROR_ACCESS_DENIED && readOnly ? ERROR_FILE_READ_ONLY : error);
    return false;
}

} // namespace

bool deleteFile(const std::wstring& path)
{
    return retryWhileHeld(path, [&] { return ::DeleteFileW(path.c_str()) || failedFor(path); });
}

bool removeFolder(const std::wstring& folder, WaitOut what)
{
    return retryWhileHeld(
        folder, [&] { return ::RemoveDirectoryW(folder.c_str()) || failedFor(folder); }, what);
}

} // namespace gls
