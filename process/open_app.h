// Starting the installed app: after an update run, and from the window's last screen.
#pragma once

#include <string>

namespace gls {

struct Env;

// What is started to open the app.
struct AppLaunch {
    std::wstring program;     // the program file
    std::wstring commandLine; // its command line, the quoted program first
    std::wstring directory;   // its current folder; empty for the setup's own
    bool throughExplorer = false;
};

// From an elevated setup the app is opened by Explorer, the one in the Windows folder given, so
// that it does not inherit the elevation; without that folder there is nothing to start (an empty
// program).
AppLaunch appLaunchFor(const std::wstring& folder, bool elevated, const std::wstring& windowsFolder);

// Whether this process runs elevated; false when it cannot be told.
bool runsElevated();

// Starts "Glimmerline.exe" in the folder, outside the job the setup may run in, so that an
// updater's job that ends with the updater does not end the app; in test mode writes
// "launched.txt" instead. Reports nothing to the caller; the log says what happened.
void openApp(const Env& env, const std::wstring& folder);

} // namespace gls
