// Reading string values from the current user's part of the registry.
#include "user_registry.h"

#include <windows.h>

namespace gls {

std::wstring readUserString(const std::wstring& subKey, const wchar_t* valueName)
{
    wchar_t buffer[2048] = {};
    DWORD bytes = sizeof(buffer);
    LSTATUS status =
        ::RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), valueName, RRF_RT_REG_SZ, nullptr, buffer, &bytes);
    if (status != ERROR_SUCCESS) return {};
    buffer[2047] = L'\0';
    return buffer;
}

} // namespace gls
