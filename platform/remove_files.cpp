// Removal shared by install and uninstall. Each walk collects first and deletes afterwards, so
// nothing is removed from a folder while it is being listed.
#include "remove_files.h"

#include "core/ascii_case.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "file_io.h"
#include "file_name_order.h"
#include "file_status.h"
#include "log.h"
#include "tree_walk.h"

#include <windows.h>

#include <algorithm>
#include <set>

namespace gls {

namespace {

// Deepest first: a folder's path is longer than its parent's.
void sortDeepestFirst(std::vector<std::wstring>& folders)
{
    std::stable_sort(folders.begin(), folders.end(),
                     [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
}

} // namespace

void removeTree(const std::wstring& folder, std::vector<std::wstring>* stayed)
{
    if (isLink(folder)) {
        removeLink(folder);
        return;
    }
    TreeListing listing = walkTree(folder);
    std::vector<std::wstring> folders, links;
    // Folders that hold a file that stayed, and the folders above them: they cannot become empty.
    std::set<std::wstring> holdingOn;
    for (const TreeEntry& e : listing) {
        if (e.isFolder) {
            (e.isLink ? links : folders).push_back(e.path);
            continue;
        }
        ::SetFileAttributesW(e.path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (deleteFile(e.path)) continue;
        if (stayed) stayed->push_back(e.path);
        for (std::wstring at = parentPath(e.path); at.size() >= folder.size(); at = parentPath(at)) {
            holdingOn.insert(at);
            if (at.size() == folder.size()) break;
        }
    }
    // A link to a folder is removed as a link; what it points to is not touched.
    for (const std::wstring& link : links) {
        if (!removeFolder(link)) holdingOn.insert(parentPath(link));
    }
    sortDeepestFirst(folders);
    // A folder whose every entry was removed here may still list names another program holds with
    // delete sharing; they go when it lets go, so such a folder is waited for.
    WaitOut below = listing.complete ? WaitOut::HoldersAndPendingNames : WaitOut::Holders;
    for (const std::wstring& f : folders) {
        if (!removeFolder(f, holdingOn.contains(f) ? WaitOut::Holders : below)) holdingOn.insert(parentPath(f));
    }
    if (isCutShort(folder) || holdingOn.contains(folder)) return;
    (void)removeFolder(folder, below);
}

bool deleteByWayOf(const std::wstring& path, const std::wstring& aside)
{
    if (!entryExists(path)) return true;
    createParentFolder(aside);
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!moveFile(path, aside, 0)) return false;
    if (deleteFile(aside)) return true;
    DWORD error = ::GetLastError();
    if (!moveFile(aside, path, 0)) logLine(L"%ls is left as %ls", path.c_str(), aside.c_str());
    ::SetLastError(error);
    return false;
}

bool removeLink(const std::wstring& link)
{
    if (isCutShort(link)) return false;
    // The link's own attributes: a folder link keeps the folder bit whether or not its target is there.
    DWORD attributes = ::GetFileAttributesW(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return removeFolder(link);
    return deleteFile(link);
}

void removeEmptyFolders(const std::wstring& folder)
{
    std::vector<std::wstring> folders;
    for (const TreeEntry& e : walkTree(folder)) {
        if (e.isFolder) folders.push_back(e.path);
    }
    sortDeepestFirst(folders);
    // A link to a folder is removed as a link; what it points to is not touched.
    for (const std::wstring& f : folders) ::RemoveDirectoryW(f.c_str());
    // The folder itself only when a whole listing shows it empty: when it was given as a junction,
    // RemoveDirectoryW would take the junction away even while what it leads to still holds the
    // user's files.
    if (isCutShort(folder)) return;
    TreeListing left = walkTree(folder, false);
    if (left.complete && left.empty()) ::RemoveDirectoryW(folder.c_str());
}

void removeEmptiedFolders(const std::wstring& top, const std::vector<std::wstring>& removedFiles)
{
    std::vector<std::wstring> folders;
    for (const std::wstring& file : removedFiles) {
        for (std::wstring folder = parentPath(file); folder.size() > top.size(); folder = parentPath(folder)) {
            folders.push_back(folder);
        }
    }
    std::sort(folders.begin(), folders.end(), [](const std::wstring& a, const std::wstring& b) {
        return a.size() != b.size() ? a.size() > b.size() : a < b;
    });
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    for (const std::wstring& folder : folders) {
        // Not empty, in use or gone: each is fine here, and "not empty" is someone else's files.
        if (!isLink(folder) && isFolder(folder)) (void)removeFolder(folder);
    }
}

void removeWorkLeftovers(const std::wstring& installFolder, const std::vector<std::wstring>& ours)
{
    const std::wstring prefix = asciiLower(kWorkPrefix);
    std::vector<TreeEntry> leftovers;
    for (const TreeEntry& e : walkTree(installFolder, false)) {
        std::wstring name = lastComponent(e.path);
        if (asciiLower(name).rfind(prefix, 0) != 0) continue;
        if (std::any_of(ours.begin(), ours.end(), [&](const std::wstring& n) { return sameFileName(n, name); }))
            continue;
        leftovers.push_back(e);
    }
    for (const TreeEntry& e : leftovers) {
        if (e.isLink) {
            removeLink(e.path);
        } else if (e.isFolder) {
            removeTree(e.path);
        } else {
            ::SetFileAttributesW(e.path.c_str(), FILE_ATTRIBUTE_NORMAL);
            (void)deleteFile(e.path);
        }
    }
}

} // namespace gls
