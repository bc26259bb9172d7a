// Lists a folder tree with the system's find calls, so that a link's own attributes decide and
// a junction is never followed: a walk that followed one would delete what lies behind it.
#include "tree_walk.h"

#include "core/link_rule.h"
#include "core/path_join.h"
#include "file_identity.h"
#include "unique_handle.h"

#include <windows.h>

#include <set>

namespace gls {

namespace {

// The find data carries the reparse tag of a reparse point in dwReserved0.
bool isLinkEntry(const WIN32_FIND_DATAW& data) { return countsAsLink(data.dwFileAttributes, data.dwReserved0); }

// Deeper than any path the system can take without its long-path form; a walk that gets there
// is going round in a circle the link rule cannot see (a mount of a folder inside itself).
constexpr int kMaxDepth = 128;

struct Walk {
    bool recursive;
    std::vector<TreeEntry>& out;
    std::set<FileIdentity> entered;
};

// False when listing failed part way, or the folder was met before or lies too deep; the caller
// stops there.
bool walkInto(const std::wstring& folder, int depth, Walk& walk)
{
    FileIdentity identity;
    if (depth > kMaxDepth || !readFileIdentity(folder, identity)) return false;
    // Some network file systems give every file the id 0; there the depth limit alone guards.
    if (identity.known() && !walk.entered.insert(identity).second) return false;
    WIN32_FIND_DATAW data;
    UniqueFind find(::FindFirstFileExW(joinPath(folder, L"*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                       nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return false;
    for (;;) {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") {
            TreeEntry entry;
            entry.path = joinPath(folder, name);
            entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            entry.isLink = isLinkEntry(data);
            walk.out.push_back(entry);
            if (walk.recursive && entry.isFolder && !entry.isLink && !walkInto(entry.path, depth + 1, walk))
                return false;
        }
        if (!::FindNextFileW(find.get(), &data)) return ::GetLastError() == ERROR_NO_MORE_FILES;
    }
}

} // namespace

bool isCutShort(const std::wstring& path) { return path.find(L'\0') != std::wstring::npos; }

bool isLink(const std::wstring& path)
{
    if (isCutShort(path)) return false;
    WIN32_FIND_DATAW data;
    UniqueFind find(::FindFirstFileExW(path.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    if (find) return isLinkEntry(data);
    // A root, a path with a separator at its end or an entry that cannot be found by name has no
    // find data; its attributes alone decide, and a reparse point whose tag is unknown is a link.
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && countsAsLink(attributes, 0);
}

std::wstring firstLinkOnTheWay(const std::wstring& top, const std::wstring& relative, LinkFreeFolders& linkFree)
{
    for (std::size_t at = relative.find_first_of(L"\\/"); at != std::wstring::npos;
         at = relative.find_first_of(L"\\/", at + 1)) {
        std::wstring folder = relative.substr(0, at);
        if (linkFree.contains(folder)) continue;
        std::wstring path = joinPath(top, folder);
        if (isLink(path)) return path;
        linkFree.insert(std::move(folder));
    }
    std::wstring path = joinPath(top, relative);
    return isLink(path) ? path : std::wstring();
}

TreeListing walkTree(const std::wstring& folder, bool recursive)
{
    TreeListing listing;
    if (isCutShort(folder)) return listing;
    DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return listing;
    Walk walk{recursive, listing.entries, {}};
    listing.complete = walkInto(folder, 0, walk);
    return listing;
}

} // namespace gls
