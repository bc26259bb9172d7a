// Finds the registered installation and checks it against what is on disk.
#include "existing_install.h"

#include "app_in_folder.h"
#include "apps_entry.h"
#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "platform/env.h"
#include "platform/file_status.h"
#include "platform/shell_link.h"

namespace gls {

namespace {

// The registered folder when an installation may be looked for in it: a whole path, more than a
// bare drive or share (a relative one would name the current directory's), and inside the test
// folder in test mode. Empty otherwise.
std::wstring usableRegisteredFolder(const Env& env, const std::wstring& location)
{
    if (!isFolderBelowRoot(location)) return {};
    if (env.testMode && !isInsideFolder(location, env.testRoot)) return {};
    return location;
}

} // namespace

ExistingInstall findExistingInstall(const Env& env)
{
    ExistingInstall existing;
    existing.folder = readAppsEntry(env, kInstallLocation).value_or(L"");
    std::wstring location = usableRegisteredFolder(env, existing.folder);
    if (location.empty() || !appInFolder(location)) return existing;

    existing.found = true;
    existing.version = readAppsEntry(env, kDisplayVersion).value_or(L"");

    std::wstring shortcut = joinPath(env.desktopDir, kShortcutName);
    if (!isFolderBelowRoot(env.desktopDir) || !entryExists(shortcut)) return existing;
    std::wstring target = shortcutTarget(shortcut);
    existing.hasDesktopShortcut = !target.empty() && isInsideFolder(target, location);
    return existing;
}

std::wstring registeredInstallFolder(const Env& env)
{
    return usableRegisteredFolder(env, readAppsEntry(env, kInstallLocation).value_or(L""));
}

} // namespace gls
