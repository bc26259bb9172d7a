// The install folder for a folder the user picked.
#include "folder_from_pick.h"

#include "core/ascii_case.h"
#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "installation/app_in_folder.h"
#include "platform/file_status.h"

namespace gls {

std::wstring installFolderFromPick(const std::wstring& picked)
{
    if (asciiLower(lastComponent(picked)) == asciiLower(kAppName)) return picked;
    if (appInFolder(picked)) return picked;
    if (!targetExists(picked) || isEmptyFolder(picked)) return picked;
    return joinPath(picked, kAppName);
}

} // namespace gls
