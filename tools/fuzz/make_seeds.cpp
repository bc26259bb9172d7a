// Writes the edge-case archives of the reader's tests into a folder, as the fuzzer's seeds.
// Usage: gls_make_seeds <folder>
#include "tests/support/payload_samples.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gls_make_seeds <folder>\n");
        return 2;
    }
    int n = 0;
    for (const auto& sample : gls::test::payloadSamples()) {
        std::string path = std::string(argv[1]) + "/sample-" + std::to_string(n++) + ".glp";
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(sample.image.data()), static_cast<std::streamsize>(sample.image.size()));
        if (!out) {
            std::fprintf(stderr, "gls_make_seeds: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
