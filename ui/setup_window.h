// The setup window: what a run hands it, and the call that shows it until it is closed.
#pragma once

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
    bool desktopShortcut = false;
    bool appInFolder = false;
    std::wstring installedVersion;
    bool nothingInstalled = false;
    bool placeAtPoint = false;
    std::int32_t pointX = 0;
    std::int32_t pointY = 0;
};

// Shows the window and pumps messages until it is gone. 0: the work was done; 1: failure or
// no window; 2: cancelled or nothing done.
int runSetupWindow(const WindowParams& params);

} // namespace gls
