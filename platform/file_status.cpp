// Whether something is at a path.
#include "file_status.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace gls {

bool entryExists(const std::wstring& path)
{
    std::error_code ec;
    fs::file_status status = fs::symlink_status(fs::path(path), ec);
    return !ec && fs::exists(status);
}

bool targetExists(const std::wstring& path)
{
    std::error_code ec;
    fs::file_status status = fs::status(fs::path(path), ec);
    return !ec && fs::exists(status);
}

} // namespace gls
