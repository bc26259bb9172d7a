// Whether two paths name the same file or folder on disk.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <string>

namespace gls {

// A file's or folder's place on disk, to know it again by whatever path it is reached: the
// volume's serial number and the file's 128-bit id, which file systems with large volumes need
// whole. An id of all zeroes (some network file systems give every file that one) is unknown.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::array<std::uint8_t, 16> id = {};
    bool known() const { return id != std::array<std::uint8_t, 16>{}; }
    auto operator<=>(const FileIdentity&) const = default;
};

// The same object on disk, both opened at once so that neither can be replaced in between. False
// when either cannot be opened or its identity is unknown.
bool sameFolderOnDisk(const std::wstring& a, const std::wstring& b);

// False when the path cannot be opened.
bool readFileIdentity(const std::wstring& path, FileIdentity& identity);

} // namespace gls
