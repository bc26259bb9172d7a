// The rules on an install folder's text, free of the platform. The install folder check applies
// them before and after the system resolves the full path, and looks at the disk itself.
#pragma once

#include "checked.h"
#include "texts.h"

#include <cstddef>
#include <string>
#include <vector>

namespace gls {

// The longest install folder path, so that the payload's deepest names still fit below it.
inline constexpr std::size_t kMaxFolderLength = 180;

// A folder that passed its checks, or what the user reads about it.
using FolderCheck = Checked<std::wstring, Message>;

// The typed text without the blanks and quotes around it, when it is a whole path: a drive
// letter, a colon and a separator, or a network path.
FolderCheck checkTypedFolder(const std::wstring& text);

// A resolved full path without its trailing separators, when it is more than a whole drive, no
// network path, at most kMaxFolderLength characters long, and free of characters a folder's
// name cannot hold.
// A folder on another computer cannot be the install folder: the app runs from there, and would
// stop whenever the network or that computer does.
FolderCheck checkFullFolder(std::wstring fullPath);

// A network path: "\\server\share" and below, or its device forms "\\?\UNC\" and "\\.\UNC\" (any
// letter case), with either separator.
bool isNetworkPath(const std::wstring& path);

// The folder when it is none of the user's own folders (the profile, Documents, Desktop and the
// like) and holds none of them: an install there would mix the app's files with the user's, and
// its clean-up would reach into them. Compared in lexical normal form and ASCII letter case.
FolderCheck checkNotUserFolder(std::wstring folder, const std::vector<std::wstring>& userFolders);

} // namespace gls
