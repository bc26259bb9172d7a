// Conversions between the program's UTF-16 strings and the UTF-8 bytes of the files it writes.
#pragma once

#include <string>

namespace gls {

std::string toUtf8(const std::wstring& text);
// Bytes that are not valid UTF-8 become U+FFFD, so that a hostile name still logs as a readable line.
std::wstring fromUtf8(const std::string& text);

} // namespace gls
