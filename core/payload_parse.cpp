// Reads the payload archive's layout, free of the platform so it builds natively for fuzzing.
//
//   offset  width  field
//   0       4      magic "GLP1"
//   4       4      entry count (u32)
//   8       8      data size (u64): bytes after the index
//   16      8      checksum (u64) of every byte from offset 24 to the end
//   24      ...    index records, back to back:
//                    u32 name length, u64 size, u64 offset into the data area, the name's bytes
//   ...            data area, to the end of the image
//
// All integers are little-endian and read byte by byte, so nothing needs alignment. Every read is
// checked against the bytes left, and offset + size is never added before comparing.
#include "payload_archive.h"

#include "payload_checksum.h"
#include "payload_path.h"

#include <cstring>

namespace gls {

namespace {

constexpr std::size_t kHeaderSize = 24;
constexpr std::size_t kRecordSize = 20;

std::uint64_t readLe(const unsigned char* p, int bytes)
{
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
    return value;
}

struct IndexRecord {
    std::string name;
    std::uint64_t size;
    std::uint64_t offset;
};

} // namespace

Checked<Payload, std::string> parsePayload(const unsigned char* image, std::size_t length, bool verifyChecksum)
{
    if (image == nullptr || length < kHeaderSize || std::memcmp(image, "GLP1", 4) != 0) {
        return refused<Payload>("no payload");
    }
    std::uint32_t count = static_cast<std::uint32_t>(readLe(image + 4, 4));
    std::uint64_t dataSize = readLe(image + 8, 8);
    if (verifyChecksum && payloadChecksum(image + kHeaderSize, length - kHeaderSize) != readLe(image + 16, 8)) {
        return refused<Payload>("the payload's checksum does not match");
    }

    std::vector<IndexRecord> records;
    std::size_t cursor = kHeaderSize;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::size_t left = length - cursor;
        if (left < kRecordSize) return refused<Payload>("the payload's index is cut short");
        std::uint64_t nameLength = readLe(image + cursor, 4);
        std::uint64_t size = readLe(image + cursor + 4, 8);
        std::uint64_t offset = readLe(image + cursor + 12, 8);
        if (nameLength > left - kRecordSize) return refused<Payload>("the payload's index is cut short");
        std::string name(reinterpret_cast<const char*>(image + cursor + kRecordSize),
                         static_cast<std::size_t>(nameLength));
        if (!isAllowedPayloadPath(name) || !installedNameProblem(name).empty()) {
            return refused<Payload>("a path in the payload is not allowed: " + name);
        }
        records.push_back({std::move(name), size, offset});
        cursor += kRecordSize + static_cast<std::size_t>(nameLength);
    }

    std::vector<std::string> names;
    names.reserve(records.size());
    for (const IndexRecord& r : records) names.push_back(r.name);
    if (auto clash = collidingPayloadNames(names)) {
        return refused<Payload>("two paths in the payload collide: " + clash->first + " and " + clash->second);
    }

    const unsigned char* dataArea = image + cursor;
    if (dataSize != length - cursor) return refused<Payload>("the payload's data is not the size its header says");

    Payload payload;
    for (IndexRecord& r : records) {
        if (r.offset > dataSize || r.size > dataSize - r.offset) {
            return refused<Payload>("a file in the payload runs past its end");
        }
        payload.entries.push_back({std::move(r.name), dataArea + r.offset, r.size});
    }
    return passed<std::string>(std::move(payload));
}

} // namespace gls
