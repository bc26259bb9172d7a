// Reading string values from the current user's part of the registry.
#pragma once

#include <optional>
#include <string>

namespace gls {

// A REG_SZ value under HKEY_CURRENT_USER\subKey, whole however long it is, up to its first null;
// nothing when the key or the value is missing, or the value is no string.
std::optional<std::wstring> readUserString(const std::wstring& subKey, const wchar_t* valueName);

} // namespace gls
