// Text rules used while building the environment record, free of the platform.
#pragma once

#include <cstdint>
#include <string>

namespace gls {

// True for "X:\..." or "X:/..." with a drive letter, and for paths that begin with a root name
// but no drive letter (the UNC and device forms, which start with two separators).
bool isAbsoluteTestFolder(const std::wstring& value);

// A decimal integer read the way the standard string-to-int conversion reads it: leading blanks
// and a sign allowed, reading stops at the first non-digit, no digits give 0. Values outside the
// 32-bit range are clamped.
std::int32_t readDecimalInt(const std::wstring& text);

} // namespace gls
