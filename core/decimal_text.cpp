// Reading the numbers of the test variables.
#include "decimal_text.h"

#include <cerrno>
#include <climits>
#include <cwchar>

namespace gls {

std::int32_t readDecimalInt(const std::wstring& text)
{
    // A number that does not fit in 32 bits is no usable time: it counts as none, like text that
    // is no number at all, rather than as a pause of almost 25 days.
    errno = 0;
    long long value = std::wcstoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || value > INT_MAX || value < INT_MIN) return 0;
    return static_cast<std::int32_t>(value);
}

} // namespace gls
