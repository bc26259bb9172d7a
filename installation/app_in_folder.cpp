// Whether the app is in a folder. The entry itself is looked at, never what a link leads to.
#include "app_in_folder.h"

#include "core/path_join.h"
#include "core/product.h"
#include "platform/file_status.h"

namespace gls {

bool appProgramInFolder(const std::wstring& folder) { return entryExists(joinPath(folder, kAppExe)); }

bool appInFolder(const std::wstring& folder)
{
    return appProgramInFolder(folder) || entryExists(joinPath(folder, kUninstallerExe));
}

} // namespace gls
