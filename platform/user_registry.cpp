// Reading string values from the current user's part of the registry.
#include "user_registry.h"

#include <windows.h>

#include <vector>

namespace gls {

std::optional<std::wstring> readUserString(const std::wstring& subKey, const wchar_t* valueName)
{
    // Asked for its size first; read again should it grow in between.
    std::vector<wchar_t> buffer;
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        LSTATUS status = ::RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), valueName, RRF_RT_REG_SZ, nullptr,
                                        buffer.empty() ? nullptr : buffer.data(), &bytes);
        if (status == ERROR_SUCCESS && !buffer.empty()) return std::wstring(buffer.data());
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return std::nullopt;
        buffer.assign(bytes / sizeof(wchar_t) + 1, L'\0');
    }
    return std::nullopt;
}

} // namespace gls
