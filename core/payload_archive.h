// The payload archive's index as the reader hands it out, and the reader of an archive image.
#pragma once

#include "checked.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gls {

struct PayloadEntry {
    std::string name;                    // UTF-8 bytes exactly as stored, '/' between components
    const unsigned char* data = nullptr; // into the loaded resource; never copied
    std::uint64_t size = 0;
};

struct Payload {
    std::vector<PayloadEntry> entries; // in index order
};

// Checks and indexes an archive image; refused with the first failed check's text, which quotes a
// refused name's bytes as they are stored. Every name must pass the path rule and the
// installed-name rule, and no two may collide (payload_path.h). A null image is "no payload".
Checked<Payload, std::string> parsePayload(const unsigned char* image, std::size_t length, bool verifyChecksum);

} // namespace gls
