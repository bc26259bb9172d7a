// Conversions between the program's UTF-16 strings and the UTF-8 bytes of the files it writes.
#pragma once

#include <string>

namespace gls {

std::string toUtf8(const std::wstring& text);

} // namespace gls
