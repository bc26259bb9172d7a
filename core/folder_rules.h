// The rules on an install folder's text, free of the platform. The install folder check applies
// them before and after the system resolves the full path, and looks at the disk itself.
#pragma once

#include "checked.h"

#include <cstddef>
#include <string>

namespace gls {

// The longest install folder path, so that the payload's deepest names still fit below it.
inline constexpr std::size_t kMaxFolderLength = 180;

// The typed text without the blanks and quotes around it, when it is a whole path: a drive
// letter, a colon and a separator, or a network path.
Checked<std::wstring> checkTypedFolder(const std::wstring& text);

// A resolved full path without its trailing separators, when it is more than a whole drive, at
// most kMaxFolderLength characters long, and free of characters a folder's name cannot hold.
Checked<std::wstring> checkFullFolder(std::wstring fullPath);

} // namespace gls
