// A small PNG encoder for build tools: 8-bit RGBA, deflate with fixed codes and a short LZ77 search.
#pragma once

#include <cstdint>
#include <vector>

namespace gls {

// rgba holds width * height pixels, four bytes each, rows top to bottom, not premultiplied.
std::vector<unsigned char> encodePng(const std::vector<unsigned char>& rgba, std::uint32_t width,
                                     std::uint32_t height);

} // namespace gls
