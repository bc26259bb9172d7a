// The payload archive's index as the reader hands it out, and the reader of an archive image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gls {

struct PayloadEntry {
    std::string name;                   // UTF-8 bytes exactly as stored, '/' between components
    const unsigned char* data = nullptr; // into the loaded resource; never copied
    std::uint64_t size = 0;
};

struct Payload {
    std::vector<PayloadEntry> entries; // in index order
    std::string error;                 // empty when the archive is sound
};

// Checks and indexes an archive image. Empties `entries` first; on failure sets `error` to the
// first failed check's text and returns false, and `entries` is not to be used. Every name must
// pass the path rule and the installed-name rule, and no two may collide (payload_path.h).
bool parsePayload(const unsigned char* image, std::size_t length, std::vector<PayloadEntry>& entries,
                  std::string& error, bool verifyChecksum);

} // namespace gls
