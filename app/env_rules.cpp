// Text rules used while building the environment record.
#include "env_rules.h"

#include <climits>
#include <cwchar>

namespace gls {

namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool isAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

} // namespace

bool isAbsoluteTestFolder(const std::wstring& value)
{
    bool driveLetter = value.size() >= 2 && isAsciiLetter(value[0]) && value[1] == L':';
    if (driveLetter) return value.size() >= 3 && isSeparator(value[2]);
    // A root name without a drive letter: "\\server\share", "\\?\...", "\\.\...".
    return value.size() >= 3 && isSeparator(value[0]) && isSeparator(value[1]) && !isSeparator(value[2]);
}

std::int32_t readDecimalInt(const std::wstring& text)
{
    long long value = std::wcstoll(text.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<std::int32_t>(value);
}

} // namespace gls
