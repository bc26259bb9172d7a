// Starting the installed app: after an update run, and from the window's last screen.
#pragma once

#include <string>

namespace gls {

struct Env;

// What the shell is asked to start.
struct AppLaunch {
    std::wstring file;
    std::wstring parameters;
    std::wstring directory;
    bool throughExplorer = false;
};

// From an elevated setup the app is opened by Explorer, so that it does not inherit the elevation.
AppLaunch appLaunchFor(const std::wstring& folder, bool elevated);

// Whether this process runs elevated; false when it cannot be told.
bool runsElevated();

// Starts "Glimmerline.exe" in the folder; in test mode writes "launched.txt" instead. Reports
// nothing to the caller; the log says what happened.
void openApp(const Env& env, const std::wstring& folder);

} // namespace gls
