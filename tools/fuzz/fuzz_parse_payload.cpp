// libFuzzer target for the payload reader, built natively with sanitizers. Besides not crashing,
// a parse that succeeds must only hand out entries that lie inside the image.
#include "core/payload_archive.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<gls::PayloadEntry> entries;
    std::string error;
    for (bool verify : {false, true}) {
        if (gls::parsePayload(data, size, entries, error, verify)) {
            if (!error.empty()) std::abort();
            for (const gls::PayloadEntry& e : entries) {
                if (e.data < data || e.data > data + size) std::abort();
                if (e.size > static_cast<std::uint64_t>(data + size - e.data)) std::abort();
            }
        } else if (error.empty()) {
            std::abort();
        }
    }
    return 0;
}
