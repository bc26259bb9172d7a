// Whether something is at a path, through the system's own calls: the C++ library's file-system
// part would bring its streams and locales into the setup, more than its own code weighs.
#include "file_status.h"

#include "core/path_join.h"
#include "unique_handle.h"

#include <windows.h>

namespace gls {

bool entryExists(const std::wstring& path)
{
    // The system's own attributes of the entry: for a link they are the link's, whether or not
    // it leads anywhere.
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool targetExists(const std::wstring& path)
{
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    // A link counts only when what it leads to can be opened; no access is asked for, so a file
    // that another program holds open counts too.
    UniqueFile target(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return static_cast<bool>(target);
}

bool isFolder(const std::wstring& path)
{
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool fileSize(const std::wstring& path, std::uint64_t& size)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

bool isEmptyFolder(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    UniqueFind find(
        ::FindFirstFileExW(joinPath(path, L"*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!find) return false;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") return false;
    } while (::FindNextFileW(find.get(), &found));
    return ::GetLastError() == ERROR_NO_MORE_FILES;
}

} // namespace gls
