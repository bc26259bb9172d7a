// File operations of the install transaction: whole-file writes, read-back checks, moves that
// give a briefly held file time to be released.
#pragma once

#include <cstdint>
#include <string>

namespace gls {

// Creates the parent folders, then writes the file in 1 MiB pieces. On false the thread's last
// error holds the cause.
[[nodiscard]] bool writeWholeFile(const std::wstring& path, const unsigned char* data, std::uint64_t size);

// True when the file holds exactly these bytes.
[[nodiscard]] bool readsBackSame(const std::wstring& path, const unsigned char* expected, std::uint64_t size);

// MoveFileExW, tried up to 10 times 100 ms apart while the file is in use or access is denied.
// On false the thread's last error holds the cause of the last attempt.
[[nodiscard]] bool moveWithRetry(const std::wstring& from, const std::wstring& to, unsigned long flags);

// Creates a path's parent folder with all missing ancestors; errors are ignored.
void createParentFolder(const std::wstring& path);

} // namespace gls
