// Light or dark, after the user's app theme, and the title bar to match.
#pragma once

#include <windows.h>

namespace gls {

// "AppsUseLightTheme": missing or unreadable means light; any non-zero value light, 0 dark.
bool readLightTheme();

// Asks the window manager for a dark or light title bar.
void applyTitleBarTheme(HWND window, bool light);

} // namespace gls
