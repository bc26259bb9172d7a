// The first screen and what closing the window means on each screen.
#include "screen_state.h"

#include "windows_version.h"

namespace gls {

Screen firstScreen(const ScreenState& state, bool nothingInstalled)
{
    if (state.uninstalling) return nothingInstalled ? Screen::NotInstalled : Screen::RemoveConfirm;
    if (isWindowsTooOld(state.osBuild)) return Screen::OldWindows;
    return Screen::Welcome;
}

int closeResult(Screen screen)
{
    switch (screen) {
    case Screen::Done:
    case Screen::Removed:
        return 0;
    case Screen::Error:
        return 1;
    default:
        return 2;
    }
}

} // namespace gls
