// The install job: the payload's files and the uninstaller into a folder all or nothing, the
// installed-apps entry, and the shortcuts.
#pragma once

#include "install_result.h"

#include <string>

namespace gls {

struct Env;
struct Payload;

// Installs or updates the app in the folder. Never shows a window or a message box.
[[nodiscard]] InstallResult installApp(const Env& env, const Payload& payload, const std::wstring& installDir,
                                       bool desktopShortcut, const ProgressCallback& progress);

} // namespace gls
