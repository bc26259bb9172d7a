// PNG encoding: zlib stream with fixed-Huffman deflate blocks, CRC-32 per chunk.
#include "png_encode.h"

#include <array>
#include <cstring>

namespace gls {

namespace {

std::uint32_t crc32(const unsigned char* data, size_t length, std::uint32_t crc = 0)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < length; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

class BitWriter {
public:
    void bits(std::uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i) {
            acc_ |= ((value >> i) & 1u) << used_;
            if (++used_ == 8) flushByte();
        }
    }
    // Huffman codes go most significant bit first.
    void code(std::uint32_t value, int count)
    {
        for (int i = count - 1; i >= 0; --i) bits((value >> i) & 1u, 1);
    }
    std::vector<unsigned char> finish()
    {
        if (used_ > 0) flushByte();
        return std::move(out_);
    }

private:
    void flushByte()
    {
        out_.push_back(static_cast<unsigned char>(acc_));
        acc_ = 0;
        used_ = 0;
    }
    std::vector<unsigned char> out_;
    std::uint32_t acc_ = 0;
    int used_ = 0;
};

void literal(BitWriter& w, unsigned value)
{
    if (value < 144) w.code(0x30 + value, 8);
    else if (value < 256) w.code(0x190 + (value - 144), 9);
    else if (value < 280) w.code(value - 256, 7);
    else w.code(0xC0 + (value - 280), 8);
}

const unsigned kLengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const unsigned kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const unsigned kDistBase[] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                              193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const unsigned kDistExtra[] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void match(BitWriter& w, unsigned length, unsigned distance)
{
    int li = 28;
    while (kLengthBase[li] > length) --li;
    literal(w, 257 + li);
    w.bits(length - kLengthBase[li], kLengthExtra[li]);
    int di = 29;
    while (kDistBase[di] > distance) --di;
    w.code(static_cast<std::uint32_t>(di), 5);
    w.bits(distance - kDistBase[di], kDistExtra[di]);
}

// One final fixed-Huffman block; matches found through a hash of the next three bytes.
std::vector<unsigned char> deflate(const std::vector<unsigned char>& data)
{
    constexpr size_t kWindow = 32768;
    constexpr size_t kHashSize = 1 << 15;
    std::vector<std::int64_t> head(kHashSize, -1);
    BitWriter w;
    w.bits(1, 1); // final block
    w.bits(1, 2); // fixed codes
    size_t i = 0;
    auto hashAt = [&](size_t p) {
        return ((data[p] << 10) ^ (data[p + 1] << 5) ^ data[p + 2]) & (kHashSize - 1);
    };
    while (i < data.size()) {
        unsigned bestLength = 0;
        size_t bestDistance = 0;
        if (i + 3 <= data.size()) {
            size_t h = hashAt(i);
            std::int64_t candidate = head[h];
            head[h] = static_cast<std::int64_t>(i);
            if (candidate >= 0 && i - static_cast<size_t>(candidate) <= kWindow) {
                size_t c = static_cast<size_t>(candidate);
                unsigned length = 0;
                while (length < 258 && i + length < data.size() && data[c + length] == data[i + length]) ++length;
                if (length >= 3) {
                    bestLength = length;
                    bestDistance = i - c;
                }
            }
        }
        if (bestLength >= 3) {
            match(w, bestLength, static_cast<unsigned>(bestDistance));
            for (size_t k = 1; k < bestLength; ++k) {
                if (i + k + 3 <= data.size()) head[hashAt(i + k)] = static_cast<std::int64_t>(i + k);
            }
            i += bestLength;
        } else {
            literal(w, data[i]);
            ++i;
        }
    }
    literal(w, 256);
    return w.finish();
}

void putBigEndian(std::vector<unsigned char>& out, std::uint32_t v)
{
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void chunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& body)
{
    putBigEndian(out, static_cast<std::uint32_t>(body.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    putBigEndian(out, crc32(out.data() + start, out.size() - start));
}

} // namespace

std::vector<unsigned char> encodePng(const std::vector<unsigned char>& rgba, std::uint32_t width,
                                     std::uint32_t height)
{
    std::vector<unsigned char> raw;
    raw.reserve((width * 4 + 1) * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        const unsigned char* row = rgba.data() + static_cast<size_t>(y) * width * 4;
        raw.insert(raw.end(), row, row + width * 4);
    }

    std::vector<unsigned char> zlib = {0x78, 0x01};
    std::vector<unsigned char> body = deflate(raw);
    zlib.insert(zlib.end(), body.begin(), body.end());
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian(zlib, (b << 16) | a);

    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<unsigned char> header;
    putBigEndian(header, width);
    putBigEndian(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8-bit RGBA, deflate, no filter variants, no interlace
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", zlib);
    chunk(png, "IEND", {});
    return png;
}

} // namespace gls
