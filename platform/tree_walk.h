// Lists a folder tree without ever entering a link: symbolic links and junctions to folders are
// listed as entries of their own, and what lies behind them is never visited.
#pragma once

#include <string>
#include <vector>

namespace gls {

struct TreeEntry {
    std::wstring path;
    bool isFolder = false; // a folder, or a link to one
    bool isLink = false;   // a symbolic link or junction (a reparse point)
};

// Entries below the folder in the order the file system lists them, each folder before what it
// holds. Nothing when the folder cannot be listed; when listing fails part way, what was
// collected until then.
std::vector<TreeEntry> walkTree(const std::wstring& folder, bool recursive = true);

} // namespace gls
