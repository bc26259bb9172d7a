// Lays out a payload archive: sorted index, contiguous contents, checksum over all but the header.
#include "payload_writer.h"

#include "../core/payload_checksum.h"
#include "../core/payload_path.h"

#include <algorithm>
#include <cstdint>

namespace gls {

namespace {

void putU32(std::vector<unsigned char>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void putU64(std::vector<unsigned char>& out, std::uint64_t v)
{
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void setU64(std::vector<unsigned char>& out, size_t at, std::uint64_t v)
{
    for (int i = 0; i < 8; ++i) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

} // namespace

std::string packNameProblem(const std::string& name)
{
    if (!isAllowedPayloadPath(name)) return "the name breaks the payload's path rule";
    if (!isValidUtf8(name)) return "the name is not valid UTF-8";
    return installedNameProblem(name);
}

std::vector<unsigned char> buildPayloadArchive(std::vector<PackFile> files)
{
    std::sort(files.begin(), files.end(), [](const PackFile& a, const PackFile& b) { return a.name < b.name; });

    std::vector<unsigned char> out = {'G', 'L', 'P', '1'};
    putU32(out, static_cast<std::uint32_t>(files.size()));
    std::uint64_t dataSize = 0;
    for (const PackFile& f : files) dataSize += f.bytes.size();
    putU64(out, dataSize);
    putU64(out, 0); // checksum, filled in last

    std::uint64_t offset = 0;
    for (const PackFile& f : files) {
        putU32(out, static_cast<std::uint32_t>(f.name.size()));
        putU64(out, f.bytes.size());
        putU64(out, offset);
        out.insert(out.end(), f.name.begin(), f.name.end());
        offset += f.bytes.size();
    }
    for (const PackFile& f : files) out.insert(out.end(), f.bytes.begin(), f.bytes.end());

    setU64(out, 16, payloadChecksum(out.data() + 24, out.size() - 24));
    return out;
}

} // namespace gls
