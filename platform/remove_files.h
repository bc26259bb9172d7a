// Removal shared by install and uninstall: folder trees, empty folders and leftovers of
// interrupted runs. Every delete waits a moment for a file another program holds; nothing is
// ever scheduled for the next restart: what cannot go now stays, and is reported.
#pragma once

#include <string>
#include <vector>

namespace gls {

// Deletes every file of the tree it can, then the empty folders. Files that stayed are appended
// to `stayed` when given. Links to folders are removed as links, never entered; a folder that is
// itself a link goes as a link.
void removeTree(const std::wstring& folder, std::vector<std::wstring>* stayed = nullptr);

// Deletes a file by way of another name on the same drive: it is moved there first, so that its
// name is free at once even where the system keeps a deleted file's name while another program
// holds it, and a folder that refuses changes refuses the move. One that cannot then be deleted
// goes back to its name. False when it stayed; the system's error is then the last error.
bool deleteByWayOf(const std::wstring& path, const std::wstring& aside);

// Removes a link itself, never what it leads to: a link to a folder (a junction too) as a folder,
// any other as a file. False when it stayed; the system's error is then the last error.
bool removeLink(const std::wstring& link);

// Removes the tree's empty folders from the bottom up, and the folder itself when it is empty.
void removeEmptyFolders(const std::wstring& folder);

// Removes the folders the removed files lay in, below `top` and not `top` itself, deepest first,
// each only when it is empty and no link: what a removal emptied goes, no other empty folder of
// the user's, and no link, which RemoveDirectoryW would take away whatever it leads to.
void removeEmptiedFolders(const std::wstring& top, const std::vector<std::wstring>& removedFiles);

// Removes what runs that ended left directly inside the install folder: every entry whose name
// begins with ".glsetup-" in any letter case, but for the names in `ours`, the running job's.
void removeWorkLeftovers(const std::wstring& installFolder, const std::vector<std::wstring>& ours = {});

} // namespace gls
