// Joining path texts with exactly one backslash between the parts.
#pragma once

#include <string>

namespace gls {

// No separator is added after a part that already ends with one.
inline std::wstring joinPath(const std::wstring& base, const std::wstring& part)
{
    if (base.empty()) return part;
    wchar_t last = base.back();
    if (last == L'\\' || last == L'/') return base + part;
    return base + L'\\' + part;
}

inline std::wstring joinPath(const std::wstring& base, const std::wstring& part1, const std::wstring& part2)
{
    return joinPath(joinPath(base, part1), part2);
}

inline std::wstring joinPath(const std::wstring& base, const std::wstring& part1, const std::wstring& part2,
                             const std::wstring& part3)
{
    return joinPath(joinPath(joinPath(base, part1), part2), part3);
}

} // namespace gls
