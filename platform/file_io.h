// File operations that other programs may hold up for a moment, each waiting within the one
// budget of file_waits.h: whole-file writes, read-back checks, moves, copies, deletes and folder
// removals.
#pragma once

#include "file_waits.h"

#include <cstdint>
#include <string>

namespace gls {

// Creates the parent folders, then writes the file in 1 MiB pieces and flushes it to the drive
// before closing it, so that a rename that follows cannot reach the disk before the data. With
// shareWithReaders a reader that holds an older file of that name open, sharing writes, does not
// stop the write. On false the thread's last error holds the cause.
[[nodiscard]] bool writeWholeFile(const std::wstring& path, const unsigned char* data, std::uint64_t size,
                                  bool shareWithReaders = false);

enum class ReadBack { Same, Different, Unreadable };

// Whether the file holds exactly these bytes; Unreadable with the thread's last error set when it
// could not be opened or read.
[[nodiscard]] ReadBack readBack(const std::wstring& path, const unsigned char* expected, std::uint64_t size);

// MoveFileExW. On false the thread's last error holds the cause of the last attempt.
[[nodiscard]] bool moveFile(const std::wstring& from, const std::wstring& to, unsigned long flags);

// CopyFileW over any file of the target's name.
[[nodiscard]] bool copyFile(const std::wstring& from, const std::wstring& to);

// Deletes a file. True when it is gone, or was never there. A read-only file stays, at once, with
// ERROR_FILE_READ_ONLY: its attribute, not another program, refuses the delete.
[[nodiscard]] bool deleteFile(const std::wstring& path);

// Removes an empty folder. True when it is gone, or was never there; a read-only one stays at once,
// as a read-only file does.
[[nodiscard]] bool removeFolder(const std::wstring& folder, WaitOut what = WaitOut::Holders);

// Why the system refused to change a file, from its error: another program has it open (a sharing
// or lock violation), the folder is protected (access denied, write protection: controlled folder
// access, read-only media), or something else.
enum class Refusal { InUse, Protected, Other };
Refusal refusalOf(unsigned long error);

// Creates a path's parent folder with all missing ancestors; errors are ignored.
void createParentFolder(const std::wstring& path);

} // namespace gls
