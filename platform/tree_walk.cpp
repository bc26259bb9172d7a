// Lists a folder tree with the system's find calls, so that a link's own attributes decide and
// a junction is never followed: a walk that followed one would delete what lies behind it.
#include "tree_walk.h"

#include "core/link_rule.h"
#include "core/path_join.h"
#include "unique_handle.h"

#include <windows.h>

namespace gls {

namespace {

// The find data carries the reparse tag of a reparse point in dwReserved0.
bool isLinkEntry(const WIN32_FIND_DATAW& data)
{
    return countsAsLink(data.dwFileAttributes, data.dwReserved0);
}

// False when listing failed part way; the caller stops there.
bool walkInto(const std::wstring& folder, bool recursive, std::vector<TreeEntry>& out)
{
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
            out.push_back(entry);
            if (recursive && entry.isFolder && !entry.isLink && !walkInto(entry.path, true, out)) return false;
        }
        if (!::FindNextFileW(find.get(), &data)) return ::GetLastError() == ERROR_NO_MORE_FILES;
    }
}

} // namespace

bool isLink(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    UniqueFind find(::FindFirstFileExW(path.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    if (find) return isLinkEntry(data);
    // A root, a path with a separator at its end or an entry that cannot be found by name has no
    // find data; its attributes alone decide, and a reparse point whose tag is unknown is a link.
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && countsAsLink(attributes, 0);
}

std::vector<TreeEntry> walkTree(const std::wstring& folder, bool recursive)
{
    std::vector<TreeEntry> entries;
    DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return entries;
    walkInto(folder, recursive, entries);
    return entries;
}

} // namespace gls
