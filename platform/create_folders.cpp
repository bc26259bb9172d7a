// Creating a folder together with every folder above it that is missing.
#include "create_folders.h"

#include "core/path_rules.h"
#include "file_status.h"

#include <windows.h>

namespace gls {

bool createFolders(const std::wstring& path)
{
    if (path.empty()) return false;
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return true;
        ::SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    std::wstring parent = parentPath(path);
    if (!parent.empty() && parent != path && !createFolders(parent)) return false;
    // Another process may have made it in the meantime, which is as good.
    return ::CreateDirectoryW(path.c_str(), nullptr) || (::GetLastError() == ERROR_ALREADY_EXISTS && isFolder(path));
}

} // namespace gls
