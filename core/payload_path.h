// The rule every name stored in the payload archive must pass before it becomes a path.
#pragma once

#include <string>

namespace gls {

// A relative path of 1 to 400 bytes, '/' between components; no empty, "." or ".." component,
// none ending in '.' or a space, no control byte and none of < > : " \ | ? *.
bool isAllowedPayloadPath(const std::string& name);

// Strict UTF-8: no cut-short or overlong sequences, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(const std::string& text);

} // namespace gls
