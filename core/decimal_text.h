// Reading the numbers of the test variables, free of the platform.
#pragma once

#include <cstdint>
#include <string>

namespace gls {

// A decimal integer read the way the standard string-to-int conversion reads it: leading blanks
// and a sign allowed, reading stops at the first non-digit, no digits give 0. Values outside the
// 32-bit range give 0.
std::int32_t readDecimalInt(const std::wstring& text);

} // namespace gls
