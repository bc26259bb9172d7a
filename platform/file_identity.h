// Whether two paths name the same folder on disk.
#pragma once

#include <compare>
#include <string>

namespace gls {

// The same object on disk: same volume, same file id. False when either cannot be opened.
bool sameFolderOnDisk(const std::wstring& a, const std::wstring& b);

// A file's or folder's place on disk, to know it again by whatever path it is reached.
struct FileIdentity {
    unsigned long volume = 0;
    unsigned long indexHigh = 0;
    unsigned long indexLow = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

// False when the path cannot be opened.
bool readFileIdentity(const std::wstring& path, FileIdentity& identity);

} // namespace gls
