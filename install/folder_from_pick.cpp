// The install folder for a folder the user picked.
#include "folder_from_pick.h"

#include "core/path_join.h"
#include "core/product.h"
#include "platform/file_status.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace gls {

std::wstring installFolderFromPick(const std::wstring& picked)
{
    size_t slash = picked.find_last_of(L"\\/");
    std::wstring last = slash == std::wstring::npos ? picked : picked.substr(slash + 1);
    for (wchar_t& c : last) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    if (last == L"glimmerline") return picked;
    if (targetExists(joinPath(picked, kAppExe)) || targetExists(joinPath(picked, kUninstallerExe))) {
        return picked;
    }
    std::error_code ec;
    fs::file_status status = fs::status(fs::path(picked), ec);
    if (ec || !fs::exists(status)) return picked;
    bool empty = fs::is_empty(fs::path(picked), ec);
    if (!ec && empty) return picked;
    return joinPath(picked, kAppName);
}

} // namespace gls
