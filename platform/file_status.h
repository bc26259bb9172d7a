// Whether something is at a path. A state that cannot be read counts as nothing there.
#pragma once

#include <string>

namespace gls {

// Any entry of that name, a link itself included.
bool entryExists(const std::wstring& path);

// Something at the end of the path, links followed.
bool targetExists(const std::wstring& path);

} // namespace gls
