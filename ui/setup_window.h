// The setup window: what a run hands it, and the call that shows it until it is closed.
#pragma once

#include "core/exit_code.h"
#include "uninstall/uninstall_job.h"

#include <cstdint>
#include <string>

namespace gls {

struct Env;
struct Payload;

struct WindowParams {
    const Env* env = nullptr;
    const Payload* payload = nullptr; // none when uninstalling
    bool uninstalling = false;
    std::wstring installFolder;
    Message folderProblem; // shown under the folder from the start; empty when there is none
    bool desktopShortcut = false;
    bool appInFolder = false;
    std::wstring installedVersion;
    bool nothingInstalled = false;
    RunningUninstaller runningUninstaller = RunningUninstaller::None; // whose "Uninstall.exe" runs
    bool placeAtPoint = false;
    std::int32_t pointX = 0;
    std::int32_t pointY = 0;
};

// Shows the window and pumps messages until it is gone: done when the work was done, failed on a
// failure or without a window, cancelled when closed before the work or with nothing done.
[[nodiscard]] ExitCode runSetupWindow(const WindowParams& params);

} // namespace gls
