// The payload archive's checksum: 64-bit FNV-1a with its own start value.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gls {

inline constexpr std::uint64_t kPayloadChecksumStart = 0x14650FB0739D0383ull;
inline constexpr std::uint64_t kFnvPrime = 0x100000001B3ull;

// Continues a checksum over more bytes; start from kPayloadChecksumStart.
inline std::uint64_t payloadChecksum(const unsigned char* bytes, std::size_t length,
                                     std::uint64_t value = kPayloadChecksumStart)
{
    for (std::size_t i = 0; i < length; ++i) {
        value ^= bytes[i];
        value *= kFnvPrime;
    }
    return value;
}

} // namespace gls
