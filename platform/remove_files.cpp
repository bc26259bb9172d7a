// Removal shared by install and uninstall. Each walk collects first and deletes afterwards, so
// nothing is removed from a folder while it is being listed.
#include "remove_files.h"

#include "core/path_rules.h"
#include "core/product.h"
#include "tree_walk.h"

#include <windows.h>

#include <algorithm>

namespace gls {

void removeTree(const std::wstring& folder, std::vector<std::wstring>* stayed)
{
    std::vector<std::wstring> files;
    for (const TreeEntry& e : walkTree(folder)) {
        if (!e.isFolder) files.push_back(e.path);
    }
    for (const std::wstring& file : files) {
        ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        // No retry and no wait: a file in use at this moment stays.
        if (!::DeleteFileW(file.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND && stayed) {
            stayed->push_back(file);
        }
    }
    removeEmptyFolders(folder);
}

bool removeLink(const std::wstring& link)
{
    if (isCutShort(link)) return false;
    // The link's own attributes: a folder link keeps the folder bit whether or not its target is there.
    DWORD attributes = ::GetFileAttributesW(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ::RemoveDirectoryW(link.c_str()) != FALSE;
    return ::DeleteFileW(link.c_str()) != FALSE;
}

void removeEmptyFolders(const std::wstring& folder)
{
    std::vector<std::wstring> folders;
    for (const TreeEntry& e : walkTree(folder)) {
        if (e.isFolder) folders.push_back(e.path);
    }
    // A folder's path is longer than its parent's, so children go first.
    std::stable_sort(folders.begin(), folders.end(),
                     [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
    // A link to a folder is removed as a link; what it points to is not touched.
    for (const std::wstring& f : folders) ::RemoveDirectoryW(f.c_str());
    // The folder itself only when it is empty: when it was given as a junction, RemoveDirectoryW
    // would take the junction away even while what it leads to still holds the user's files.
    if (!isCutShort(folder) && walkTree(folder, false).empty()) ::RemoveDirectoryW(folder.c_str());
}

void removeEmptiedFolders(const std::wstring& top, const std::vector<std::wstring>& removedFiles)
{
    std::vector<std::wstring> folders;
    for (const std::wstring& file : removedFiles) {
        for (std::wstring folder = parentPath(file); folder.size() > top.size(); folder = parentPath(folder)) {
            folders.push_back(folder);
        }
    }
    // A folder's path is longer than its parent's, so children go first.
    std::sort(folders.begin(), folders.end(), [](const std::wstring& a, const std::wstring& b) {
        return a.size() != b.size() ? a.size() > b.size() : a < b;
    });
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    for (const std::wstring& folder : folders) {
        if (!isLink(folder)) ::RemoveDirectoryW(folder.c_str());
    }
}

void removeOldLeftovers(const std::wstring& installFolder)
{
    std::vector<std::wstring> leftovers;
    for (const TreeEntry& e : walkTree(installFolder, false)) {
        std::wstring name = e.path.substr(e.path.find_last_of(L'\\') + 1);
        if (e.isFolder && !e.isLink && name.rfind(kOldFilesPrefix, 0) == 0) leftovers.push_back(e.path);
    }
    for (const std::wstring& folder : leftovers) removeTree(folder);
}

} // namespace gls
