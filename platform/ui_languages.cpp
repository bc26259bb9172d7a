// Asks Windows for the user's display languages.
#include "ui_languages.h"

#include <windows.h>

namespace gls {

std::vector<std::wstring> userUiLanguages()
{
    ULONG count = 0;
    ULONG length = 0;
    if (!::GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &length) || length == 0) return {};
    std::wstring buffer(length, L'\0');
    if (!::GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, buffer.data(), &length)) return {};
    // Names one after the other, each ended by a null, the list by one more.
    std::vector<std::wstring> languages;
    for (std::size_t at = 0; at < buffer.size() && buffer[at] != L'\0';) {
        std::size_t end = buffer.find(L'\0', at);
        if (end == std::wstring::npos) end = buffer.size();
        languages.push_back(buffer.substr(at, end - at));
        at = end + 1;
    }
    return languages;
}

} // namespace gls
