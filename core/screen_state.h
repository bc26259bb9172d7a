// The window's screens and the record of what they show and what the user chose.
#pragma once

#include "exit_code.h"
#include "texts.h"

#include <cstdint>
#include <string>

namespace gls {

enum class Screen : std::int32_t {
    Welcome = 0,
    CloseApp = 1,
    EndApp = 2,
    Progress = 3,
    Done = 4,
    Error = 5,
    RemoveConfirm = 6,
    Removed = 7,
    NotInstalled = 8,
    OldWindows = 9,
};

struct ScreenState {
    Screen screen = Screen::Welcome;
    bool uninstalling = false;
    std::wstring installFolder;
    bool desktopShortcut = false;
    bool openAppAfter = true;
    bool removeSettings = false;
    bool appInFolder = false;
    std::wstring installedVersion;
    bool mediaFeaturePackMissing = false;
    std::uint32_t osBuild = 0;
    float progress = 0.0f;
    Txt progressStep = Txt::StepGettingReady;
    bool closingApp = false;
    bool appRunsAsAdmin = false; // the close screen: the app refused to be closed for lack of rights
    Message error;
    Message folderProblem;
    bool liveScriptKept = false;
    bool uninstallerLeft = false;     // this uninstaller's own file stays in the install folder
    std::wstring liveProtectedFolder; // a folder of Live's that Windows protects, where files stay
    bool startMenuShortcutMissing = false;
    bool desktopShortcutMissing = false;
    bool settingsRemoved = false;

    bool operator==(const ScreenState&) const = default;
};

// The first screen: uninstall shows the remove screen, or the not-installed one; install shows
// the old-Windows screen on builds 1 to 14392, else the welcome screen.
Screen firstScreen(const ScreenState& state, bool nothingInstalled);

// The choice the current screen's checkbox shows ticked: the desktop shortcut, opening the app, or
// removing the settings; false on screens without a checkbox.
bool checkboxTicked(const ScreenState& state);

// What closing the window returns on a screen: done after the work was done, failed on the
// error screen, cancelled everywhere else.
ExitCode closeResult(Screen screen);

} // namespace gls
