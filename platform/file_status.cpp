// Whether something is at a path.
#include "file_status.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace gls {

bool entryExists(const std::wstring& path)
{
    // The system's own attributes of the entry: for a link they are the link's, whether or not
    // it leads anywhere. The C++ library of this toolchain has no status of a link itself.
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool targetExists(const std::wstring& path)
{
    std::error_code ec;
    fs::file_status status = fs::status(fs::path(path), ec);
    return !ec && fs::exists(status);
}

} // namespace gls
