// Lays out a payload archive from a set of files, the way the setup's reader expects it.
//
// Header (24 bytes, little-endian): "GLP1", u32 entry count, u64 data size, u64 checksum of every
// byte from offset 24 to the end. Then one index record per file: u32 name length, u64 size,
// u64 offset into the data area, the UTF-8 name with '/' separators. Then the data area.
// Records are sorted by name in byte order and the contents follow in index order with no gaps.
#pragma once

#include <string>
#include <vector>

namespace gls {

struct PackFile {
    std::string name;                // UTF-8, '/' between components
    std::vector<unsigned char> bytes;
};

// Names are expected to pass the payload path rule; see packNameProblem.
std::vector<unsigned char> buildPayloadArchive(std::vector<PackFile> files);

// Why a name cannot go into the archive, or empty when it can. Whether names collide is a matter
// of the whole list (collidingPayloadNames).
std::string packNameProblem(const std::string& name);

} // namespace gls
