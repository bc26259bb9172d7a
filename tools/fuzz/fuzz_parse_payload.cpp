// libFuzzer target for the payload reader, built natively with sanitizers. Besides not crashing,
// a parse that succeeds must only hand out entries that lie inside the image, and one that
// refuses must hand out none.
#include "core/payload_archive.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (bool verify : {false, true}) {
        gls::Checked<gls::Payload, std::string> parsed = gls::parsePayload(data, size, verify);
        if (!parsed.ok() && !parsed.value.entries.empty()) std::abort();
        for (const gls::PayloadEntry& e : parsed.value.entries) {
            if (e.data < data || e.data > data + size) std::abort();
            if (e.size > static_cast<std::uint64_t>(data + size - e.data)) std::abort();
        }
    }
    return 0;
}
