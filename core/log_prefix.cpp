// The time prefix of a log line.
#include "log_prefix.h"

#include <cwchar>

namespace gls {

std::wstring logPrefix(unsigned long long elapsedMs)
{
    wchar_t prefix[64];
    std::swprintf(prefix, 64, L"[%6.2f] ", static_cast<double>(elapsedMs) / 1000.0);
    return prefix;
}

} // namespace gls
