// Creating a folder together with every folder above it that is missing.
#pragma once

#include <string>

namespace gls {

// True when the folder is there afterwards; a file in the way, a refused or an invalid path
// leave it missing (GetLastError tells why).
bool createFolders(const std::wstring& path);

} // namespace gls
