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

ExistingInstall findExistingInstall(const Env& env)
{
    ExistingInstall existing;
    std::wstring location = readAppsEntry(env, kInstallLocation).value_or(L"");
    if (location.empty()) return existing;
    existing.folder = location;
    if (!appInFolder(location)) return existing;
    if (env.testMode && !isInsideFolder(location, env.testRoot)) return existing;

    existing.found = true;
    existing.version = readAppsEntry(env, kDisplayVersion).value_or(L"");

    std::wstring shortcut = joinPath(env.desktopDir, kShortcutName);
    if (env.desktopDir.empty() || !entryExists(shortcut)) return existing;
    std::wstring target = shortcutTarget(shortcut);
    existing.hasDesktopShortcut = !target.empty() && isInsideFolder(target, location);
    return existing;
}

std::wstring registeredInstallFolder(const Env& env)
{
    std::wstring location = readAppsEntry(env, kInstallLocation).value_or(L"");
    if (location.empty() || !hasAbsoluteForm(location)) return {};
    if (rootLength(location) >= location.size()) return {};
    if (env.testMode && !isInsideFolder(location, env.testRoot)) return {};
    return location;
}

} // namespace gls
