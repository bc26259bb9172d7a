// Whether two paths name the same folder on disk.
#pragma once

#include <string>

namespace gls {

// The same object on disk: same volume, same file id. False when either cannot be opened.
bool sameFolderOnDisk(const std::wstring& a, const std::wstring& b);

} // namespace gls
