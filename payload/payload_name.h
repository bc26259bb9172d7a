// A payload name as a path below the install folder.
#pragma once

#include <string>

namespace gls {

// The path text of a payload name relative to the install folder; '/' separators stay as they
// are. Empty when the name breaks the path rule or is not valid UTF-8.
std::wstring pathFromPayloadName(const std::string& name);

} // namespace gls
