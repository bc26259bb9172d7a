// Lists a folder tree without ever entering a link: symbolic links and junctions to folders are
// listed as entries of their own, and what lies behind them is never visited. Reparse points that
// are no links (a cloud-files folder, a deduplicated file) are entries like any other.
#pragma once

#include "file_name_order.h"

#include <set>
#include <string>
#include <vector>

namespace gls {

struct TreeEntry {
    std::wstring path;
    bool isFolder = false; // a folder, or a link to one
    bool isLink = false;   // a reparse point that counts as a link (symbolic link, junction)
};

// What a walk found, and whether it went to the end: a decision that nothing else is in a folder
// holds only for a complete walk.
struct TreeListing {
    std::vector<TreeEntry> entries;
    bool complete = false;
    auto begin() const { return entries.begin(); }
    auto end() const { return entries.end(); }
    bool empty() const { return entries.empty(); }
};

// Entries below the folder in the order the file system lists them, each folder before what it
// holds. Nothing and not complete when the folder cannot be listed or its path is cut short; when
// listing fails part way, or meets a folder it has entered before or one too deep, what was
// collected until then, not complete.
TreeListing walkTree(const std::wstring& folder, bool recursive = true);

// A path holding a NUL: every call that takes it as a C string would read a shorter path, so it
// names nothing a walk or a removal may act on.
bool isCutShort(const std::wstring& path);

// Whether the entry at the path itself (not what it leads to) counts as a link, by the same rule
// the walk follows. False when there is nothing at the path, or the path is cut short.
bool isLink(const std::wstring& path);

// Relative paths ("a\b") of folders known to hold no link on the way to them.
using LinkFreeFolders = std::set<std::wstring, FileNameLess>;

// The first entry on the way from `top` to the relative path below it (either separator), the entry
// itself included, that counts as a link; empty when there is none, so that whatever is done to
// the entry stays below `top`. Folders found free are remembered in `linkFree`: many paths share them.
std::wstring firstLinkOnTheWay(const std::wstring& top, const std::wstring& relative, LinkFreeFolders& linkFree);

} // namespace gls
