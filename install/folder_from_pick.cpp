// The install folder for a folder the user picked.
#include "folder_from_pick.h"

#include "app_in_folder.h"
#include "core/ascii_case.h"
#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace gls {

std::wstring installFolderFromPick(const std::wstring& picked)
{
    if (asciiLower(lastComponent(picked)) == asciiLower(kAppName)) return picked;
    if (appInFolder(picked)) return picked;
    std::error_code ec;
    fs::file_status status = fs::status(fs::path(picked), ec);
    if (ec || !fs::exists(status)) return picked;
    bool empty = fs::is_empty(fs::path(picked), ec);
    if (!ec && empty) return picked;
    return joinPath(picked, kAppName);
}

} // namespace gls
