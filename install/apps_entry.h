// The per-user installed-apps entry that lists Glimmerline among the system's apps.
#pragma once

#include <cstdint>
#include <string>

namespace gls {

struct Env;

// "EstimatedSize": the installed bytes in KiB, rounded up, truncated to 32 bits.
std::uint32_t estimatedSizeKiB(std::uint64_t totalBytes);

// Writes the key and its eleven values; on false the log line has been written.
[[nodiscard]] bool writeAppsEntry(const Env& env, const std::wstring& installDir, std::uint64_t totalBytes);

} // namespace gls
