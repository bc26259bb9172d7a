// The folder picker's rules around the system dialog.
#include "folder_pick.h"

#include "core/path_rules.h"
#include "install/folder_from_pick.h"
#include "install/install_folder.h"
#include "installation/app_in_folder.h"
#include "platform/file_identity.h"
#include "platform/tree_walk.h"

#include <windows.h>

namespace gls {

std::wstring pickerStartFolder(std::wstring path)
{
    while (!path.empty()) {
        DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) && !isLink(path)) {
            return path;
        }
        std::wstring parent = parentPath(path);
        if (parent == path) return {};
        path = parent;
    }
    return path;
}

void applyPickedFolder(const Env& env, ScreenState& state, const std::wstring& picked, const std::wstring& startFolder,
                       const std::wstring& startVersion)
{
    FolderCheck checked = checkInstallFolder(env, installFolderFromPick(picked));
    if (!checked.ok()) {
        state.folderProblem = checked.problem;
        return;
    }
    const std::wstring& folder = checked.value;
    state.installFolder = folder;
    state.folderProblem = {};
    state.appInFolder = appInFolder(folder);
    bool same = !startFolder.empty() && sameFolderOnDisk(folder, startFolder);
    state.installedVersion = same ? startVersion : std::wstring();
}

} // namespace gls
