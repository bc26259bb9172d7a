// What each screen says.
#include "screen_texts.h"

#include "windows_version.h"

namespace gls {

std::wstring titleText(const ScreenState& s)
{
    switch (s.screen) {
    case Screen::Welcome: return s.appInFolder ? L"Update Glimmerline" : L"Install Glimmerline";
    case Screen::CloseApp: return s.appRunsAsAdmin ? L"Glimmerline runs as administrator" : L"Glimmerline is open";
    case Screen::EndApp: return L"Glimmerline did not close";
    case Screen::Progress: return s.closingApp ? L"Closing Glimmerline" : s.uninstalling ? L"Removing" : L"Installing";
    case Screen::Done: return L"Glimmerline is installed";
    case Screen::Error: return s.uninstalling ? L"Glimmerline was not fully removed" : L"Glimmerline was not installed";
    case Screen::RemoveConfirm: return L"Remove Glimmerline";
    case Screen::Removed: return L"Glimmerline is removed";
    case Screen::NotInstalled: return L"Glimmerline is not installed";
    case Screen::OldWindows: return L"Glimmerline needs a newer Windows";
    }
    return {};
}

std::wstring bodyText(const ScreenState& s)
{
    switch (s.screen) {
    case Screen::Welcome:
        if (!s.appInFolder) return L"Spectral waveforms in Ableton Live's arrangement and clip view.";
        return L"Glimmerline " + (s.installedVersion.empty() ? std::wstring() : s.installedVersion + L" ") +
               L"is in this folder; this version takes its place, and your settings stay as they are.";
    case Screen::CloseApp:
        if (s.appRunsAsAdmin) {
            return L"Windows does not let Setup close it. Close Glimmerline yourself, then click Try again.";
        }
        return s.uninstalling ? L"Setup closes it to remove it. Live keeps running."
                              : L"Setup closes it to put this version in place. Live keeps running.";
    case Screen::EndApp:
        return L"It may be busy. Setup can end it now: your picks are saved as you make them, so nothing is lost.";
    case Screen::Progress: return s.progressText;
    case Screen::Done:
        return L"Two steps are left in Live: in Settings > Display & Input, switch on Enable GPU Renderer and "
               L"restart Live; then pick Glimmerline as a Control Surface in Settings > Tempo & MIDI.";
    case Screen::Error: return s.errorText;
    case Screen::RemoveConfirm:
        return L"This removes the app, its shortcuts and its script in Live's User Library. Live and your sets stay "
               L"as they are.";
    case Screen::Removed:
        if (!s.liveProtectedFolder.empty()) {
            return L"Windows protects Live's User Library, so Glimmerline's files stay in it. Remove them yourself "
                   L"from " +
                   s.liveProtectedFolder + L".";
        }
        if (s.liveScriptKept) {
            return L"Live has Glimmerline' script open, so it stays in Live's User Library for now. Close Live, then "
                   L"click Try again.";
        }
        if (s.uninstallerLeft) {
            return L"Only Uninstall.exe is left: Windows does not let Setup delete it while it runs. Delete " +
                   s.installFolder + L" once this window is closed.";
        }
        return s.settingsRemoved ? L"Your Glimmerline settings are gone too."
                                 : L"Your settings are kept, ready for the next time you install Glimmerline.";
    case Screen::NotInstalled: return L"There is nothing to remove.";
    case Screen::OldWindows:
        return L"It runs on Windows 10 version 2004 or newer, and on Windows 11. This computer has an older Windows "
               L"(build " +
               std::to_wstring(s.osBuild) + L").";
    }
    return {};
}

std::wstring primaryLabel(const ScreenState& s)
{
    switch (s.screen) {
    case Screen::Welcome: return s.appInFolder ? L"Update" : L"Install";
    case Screen::CloseApp: return s.appRunsAsAdmin ? L"Try again" : L"Close Glimmerline";
    case Screen::EndApp: return L"End Glimmerline";
    case Screen::Progress: return {};
    case Screen::Done: return L"Done";
    case Screen::Error: return L"Close";
    case Screen::RemoveConfirm: return L"Remove";
    case Screen::Removed: return L"Done";
    case Screen::NotInstalled: return L"Close";
    case Screen::OldWindows: return L"Close";
    }
    return {};
}

std::wstring secondaryLabel(const ScreenState& s)
{
    switch (s.screen) {
    case Screen::Welcome:
    case Screen::RemoveConfirm: return L"Cancel";
    case Screen::CloseApp:
    case Screen::EndApp: return L"Back";
    case Screen::Error: return s.uninstalling ? std::wstring() : L"Back";
    // Trying again helps only where Live holds the files, not where Windows protects the folder.
    case Screen::Removed: return s.liveScriptKept && s.liveProtectedFolder.empty() ? L"Try again" : std::wstring();
    default: return {};
    }
}

std::wstring checkboxLabel(const ScreenState& s)
{
    switch (s.screen) {
    case Screen::Welcome: return L"Add a shortcut to the desktop";
    case Screen::Done: return L"Open Glimmerline";
    case Screen::RemoveConfirm: return L"Also remove my Glimmerline settings";
    default: return {};
    }
}

std::wstring noticeText(const ScreenState& s)
{
    if (s.screen == Screen::Done) {
        if (s.startMenuShortcutMissing && s.desktopShortcutMissing) {
            return L"Windows did not let Setup add the Start menu and desktop shortcuts.";
        }
        if (s.startMenuShortcutMissing) return L"Windows did not let Setup add the Start menu shortcut.";
        if (s.desktopShortcutMissing) return L"Windows did not let Setup add the desktop shortcut.";
        return {};
    }
    if (s.screen != Screen::Welcome) return {};
    if (!s.folderProblem.empty()) return s.folderProblem;
    if (s.osBuild != 0 && s.osBuild < kIntendedWindowsBuild) {
        return L"Glimmerline is made for Windows 10 from version 2004.";
    }
    if (s.mediaFeaturePackMissing) return L"MP3 and M4A files need Windows' Media Feature Pack.";
    return {};
}

std::wstring acceptanceText(const ScreenState& s)
{
    return s.screen == Screen::Welcome ? L"By installing you accept the" : std::wstring();
}

std::wstring linkText(Target link)
{
    return link == Target::Change ? L"Change\u2026" : L"License Agreement";
}

std::wstring removeHintText(const ScreenState& s)
{
    if (s.screen != Screen::RemoveConfirm) return {};
    return L"Keep them if you may come back: Glimmerline then starts\nwith your colours and layouts as you left them.";
}

} // namespace gls
