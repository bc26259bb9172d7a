// Reading string values from the current user's part of the registry.
#pragma once

#include <string>

namespace gls {

// A REG_SZ value under HKEY_CURRENT_USER\subKey; empty when the key or value is missing, is not a
// string, or does not fit in 2048 characters.
std::wstring readUserString(const std::wstring& subKey, const wchar_t* valueName);

} // namespace gls
