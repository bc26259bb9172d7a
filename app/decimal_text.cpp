// Reading the numbers of the test variables.
#include "decimal_text.h"

#include <climits>
#include <cwchar>

namespace gls {

std::int32_t readDecimalInt(const std::wstring& text)
{
    long long value = std::wcstoll(text.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<std::int32_t>(value);
}

} // namespace gls
