// Letter case of the ASCII letters only, the way the switches and the setup's path rules compare.
#pragma once

#include <string>

namespace gls {

inline wchar_t asciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

inline std::wstring asciiLower(std::wstring text)
{
    for (wchar_t& c : text) c = asciiLower(c);
    return text;
}

} // namespace gls
