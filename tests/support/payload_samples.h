// Edge-case archive images, shared by the reader's tests and the fuzzer's seed corpus.
#pragma once

#include <string>
#include <vector>

namespace gls::test {

struct PayloadSample {
    std::string label;
    std::vector<unsigned char> image;
    std::string error; // what the reader must say; empty when the image is sound
};

std::vector<PayloadSample> payloadSamples();

// Writes a little-endian u64 into an image, optionally re-sealing the checksum afterwards.
void setU64(std::vector<unsigned char>& image, size_t at, unsigned long long value);
void setU32(std::vector<unsigned char>& image, size_t at, unsigned value);
void resealChecksum(std::vector<unsigned char>& image);

} // namespace gls::test
