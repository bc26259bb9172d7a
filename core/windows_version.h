// Which Windows builds the app runs on, free of the platform.
#pragma once

#include <cstdint>

namespace gls {

// The first build the app runs on at all (Windows 10 version 1607).
inline constexpr std::uint32_t kOldestWindowsBuild = 14393;

// The first build the app is made for (Windows 10 version 2004); older ones get a notice.
inline constexpr std::uint32_t kIntendedWindowsBuild = 19041;

// Builds 1 to 14392 are too old for the app; 0 (unknown) is let through.
inline bool isWindowsTooOld(std::uint32_t build) { return build >= 1 && build < kOldestWindowsBuild; }

} // namespace gls
