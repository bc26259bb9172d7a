// The time prefix of a log line, free of the platform.
#pragma once

#include <string>

namespace gls {

// "[%6.2f] " with the seconds since the run's first line.
std::wstring logPrefix(unsigned long long elapsedMs);

} // namespace gls
