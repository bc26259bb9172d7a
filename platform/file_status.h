// Whether something is at a path and what it is. A state that cannot be read counts as nothing
// there.
#pragma once

#include <cstdint>
#include <string>

namespace gls {

// Any entry of that name, a link itself included.
bool entryExists(const std::wstring& path);

// Something at the end of the path, links followed.
bool targetExists(const std::wstring& path);

// A folder, or a link to one.
bool isFolder(const std::wstring& path);

// The size of a file; false when there is no file of that name (a folder is none).
bool fileSize(const std::wstring& path, std::uint64_t& size);

// A folder that can be listed and holds nothing.
bool isEmptyFolder(const std::wstring& path);

} // namespace gls
