// The first screen, the checkbox's choice, and what closing the window means on each screen.
#include "screen_state.h"

#include "windows_version.h"

namespace gls {

Screen firstScreen(const ScreenState& state, bool nothingInstalled)
{
    if (state.uninstalling) return nothingInstalled ? Screen::NotInstalled : Screen::RemoveConfirm;
    if (isWindowsTooOld(state.osBuild)) return Screen::OldWindows;
    return Screen::Welcome;
}

bool checkboxTicked(const ScreenState& s)
{
    switch (s.screen) {
    case Screen::Welcome: return s.desktopShortcut;
    case Screen::Done: return s.openAppAfter;
    case Screen::RemoveConfirm: return s.removeSettings;
    default: return false;
    }
}

ExitCode closeResult(Screen screen)
{
    switch (screen) {
    case Screen::Done:
    case Screen::Removed: return ExitCode::Done;
    case Screen::Error: return ExitCode::Failed;
    default: return ExitCode::Cancelled;
    }
}

} // namespace gls
