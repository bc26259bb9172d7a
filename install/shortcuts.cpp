// The app's shortcuts in the Start menu and on the desktop.
#include "shortcuts.h"

#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "platform/env.h"
#include "platform/file_status.h"
#include "platform/log.h"
#include "platform/shell_link.h"

#include <windows.h>

#include <shlobj.h>

namespace gls {

namespace {

// A shortcut whose folder is unknown is skipped, made or removed: joined to an empty folder, its
// bare name would address the current directory.
bool folderKnown(const std::wstring& shortcutPath)
{
    if (isFolderBelowRoot(parentPath(shortcutPath))) return true;
    logLine(L"skipped the shortcut %ls: its folder is unknown", shortcutPath.c_str());
    return false;
}

} // namespace

void makeShortcuts(const Env& env, const std::wstring& installDir, bool desktopShortcut)
{
    std::wstring target = joinPath(installDir, kAppExe);
    auto make = [&](const std::wstring& path) {
        if (!folderKnown(path)) return;
        bool made = makeShortcut(path, target, installDir);
        logLine(made ? L"made %ls" : L"could not make %ls", path.c_str());
    };
    make(joinPath(env.startMenuPrograms, kShortcutName));
    std::wstring desktop = joinPath(env.desktopDir, kShortcutName);
    if (desktopShortcut) {
        make(desktop);
    } else {
        removeShortcutIfOurs(desktop, installDir);
    }
    if (!env.testMode) ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

bool removeShortcutIfOurs(const std::wstring& shortcutPath, const std::wstring& installFolder)
{
    if (!folderKnown(shortcutPath) || !entryExists(shortcutPath)) return true;

    std::wstring target = shortcutTarget(shortcutPath);
    if (target.empty() || isInsideFolder(target, installFolder)) {
        bool removed = ::DeleteFileW(shortcutPath.c_str()) != FALSE;
        logLine(L"%ls %ls", removed ? L"removed" : L"could not remove", shortcutPath.c_str());
        return removed;
    }
    logLine(L"left %ls: it points to %ls", shortcutPath.c_str(), target.c_str());
    return false;
}

} // namespace gls
