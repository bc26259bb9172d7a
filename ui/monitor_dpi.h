// Monitor DPI and the window frame's size at a DPI, with fallbacks for systems without the
// per-monitor calls.
#pragma once

#include <windows.h>

namespace gls {

// The monitor's effective DPI; the screen's logical DPI without per-monitor support; 96 at worst.
unsigned monitorDpi(HMONITOR monitor);

// The pixels the caption and borders add around the client area at a DPI.
SIZE frameForDpi(unsigned dpi);

// The window style of the setup window: a caption, a system menu and a minimize box.
inline constexpr DWORD kSetupWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

} // namespace gls
