// Lists the payload of a setup file: one line per entry with its size, in index order.
// Usage: gls_list_payload <setup.exe>
#include "payload/payload.h"

#include <cstdio>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gls_list_payload <setup.exe>\n");
        return 2;
    }
    std::vector<gls::PayloadEntry> entries = gls::listPayloadOf(argv[1]);
    if (entries.empty()) {
        std::fprintf(stderr, "no payload with files in that file\n");
        return 1;
    }
    unsigned long long total = 0;
    for (const gls::PayloadEntry& e : entries) {
        std::printf("%10llu  %s\n", static_cast<unsigned long long>(e.size), e.name.c_str());
        total += e.size;
    }
    std::printf("%10llu  bytes in %zu files, checksum verified\n", total, entries.size());
    return 0;
}
