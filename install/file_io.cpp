// File operations of the install transaction.
#include "file_io.h"

#include "core/path_rules.h"
#include "platform/create_folders.h"
#include "platform/unique_handle.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace gls {

namespace {

constexpr std::uint64_t kPiece = 1048576;

} // namespace

void createParentFolder(const std::wstring& path)
{
    createFolders(parentPath(path));
}

bool writeWholeFile(const std::wstring& path, const unsigned char* data, std::uint64_t size)
{
    createParentFolder(path);
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
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
    if (!::CloseHandle(file.release())) return false;
    return true;
}

bool readsBackSame(const std::wstring& path, const unsigned char* expected, std::uint64_t size)
{
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    std::vector<unsigned char> buffer(static_cast<size_t>(std::min(kPiece, std::max<std::uint64_t>(size, 1))));
    std::uint64_t done = 0;
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return false;
        if (read == 0) return done == size;
        if (read > size - done) return false;
        if (std::memcmp(buffer.data(), expected + done, read) != 0) return false;
        done += read;
    }
}

bool moveWithRetry(const std::wstring& from, const std::wstring& to, unsigned long flags)
{
    DWORD error = 0;
    for (int attempt = 1; attempt <= 10; ++attempt) {
        if (::MoveFileExW(from.c_str(), to.c_str(), flags)) return true;
        error = ::GetLastError();
        bool inUse = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
        if (!inUse || attempt == 10) break;
        ::Sleep(100);
    }
    ::SetLastError(error);
    return false;
}

} // namespace gls
