// The app's shortcuts in the Start menu and on the desktop.
#include "shortcuts.h"

#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "platform/env.h"
#include "platform/file_io.h"
#include "platform/file_status.h"
#include "platform/log.h"
#include "platform/shell_link.h"
#include "platform/system_error_text.h"

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

ShortcutsMissing makeShortcuts(const Env& env, const std::wstring& installDir, bool desktopShortcut)
{
    std::wstring target = joinPath(installDir, kAppExe);
    // False when the shortcut could not be made; one whose folder is unknown is skipped.
    auto make = [&](const std::wstring& path) {
        if (!folderKnown(path)) return true;
        if (makeShortcut(path, target, installDir)) {
            logLine(L"made %ls", path.c_str());
            return true;
        }
        logLine(L"could not make %ls: %ls", path.c_str(), systemErrorText(::GetLastError()).c_str());
        return false;
    };
    ShortcutsMissing missing;
    missing.startMenu = !make(joinPath(env.startMenuPrograms, kShortcutName));
    std::wstring desktop = joinPath(env.desktopDir, kShortcutName);
    if (desktopShortcut) {
        missing.desktop = !make(desktop);
    } else {
        removeShortcutIfOurs(desktop, installDir);
    }
    if (!env.testMode) ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return missing;
}

bool removeShortcutIfOurs(const std::wstring& shortcutPath, const std::wstring& installFolder)
{
    if (!folderKnown(shortcutPath) || !entryExists(shortcutPath)) return true;

    // Only a shortcut known to point into the folder is the setup's: one that cannot be read (a
    // cloud placeholder while offline, a damaged file) may be the user's own.
    std::wstring target = shortcutTarget(shortcutPath);
    if (target.empty()) {
        logLine(L"left %ls: where it points cannot be read", shortcutPath.c_str());
        return false;
    }
    if (isInsideFolder(target, installFolder)) {
        if (deleteFile(shortcutPath)) {
            logLine(L"removed %ls", shortcutPath.c_str());
            return true;
        }
        logLine(L"could not remove %ls: %ls", shortcutPath.c_str(), systemErrorText(::GetLastError()).c_str());
        return false;
    }
    logLine(L"left %ls: it points to %ls", shortcutPath.c_str(), target.c_str());
    return false;
}

} // namespace gls
