// The rule every name stored in the payload archive must pass before it becomes a path.
#pragma once

#include <string>

namespace gls {

// A relative path of 1 to 400 bytes, '/' between components; no empty, "." or ".." component,
// none ending in '.' or a space, no control byte and none of < > : " \ | ? *.
bool isAllowedPayloadPath(const std::string& name);

// Strict UTF-8: no cut-short or overlong sequences, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(const std::string& text);

// The path text of a payload name relative to the install folder; '/' separators stay as they
// are. Empty when the name breaks the path rule or is not valid UTF-8.
std::wstring pathFromPayloadName(const std::string& name);

} // namespace gls
