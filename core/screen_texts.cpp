// What each screen says, by the keys of the text tables.
#include "screen_texts.h"

#include "texts.h"
#include "windows_version.h"

namespace gls {

std::wstring titleText(const ScreenState& s)
{
    switch (s.screen) {
    case Screen::Welcome: return say(s.appInFolder ? Txt::TitleUpdate : Txt::TitleInstall);
    case Screen::CloseApp: return say(s.appRunsAsAdmin ? Txt::TitleAppRunsAsAdmin : Txt::TitleAppOpen);
    case Screen::EndApp: return say(Txt::TitleAppDidNotClose);
    case Screen::Progress:
        return say(s.closingApp ? Txt::TitleClosing : s.uninstalling ? Txt::TitleRemoving : Txt::TitleInstalling);
    case Screen::Done: return say(Txt::TitleInstalled);
    case Screen::Error: return say(s.uninstalling ? Txt::TitleNotFullyRemoved : Txt::TitleNotInstalledError);
    case Screen::RemoveConfirm: return say(Txt::TitleRemove);
    case Screen::Removed: return say(Txt::TitleRemoved);
    case Screen::NotInstalled: return say(Txt::TitleNothingInstalled);
    case Screen::OldWindows: return say(Txt::TitleOldWindows);
    }
    return {};
}

std::wstring bodyText(const ScreenState& s)
{
    switch (s.screen) {
    case Screen::Welcome:
        if (!s.appInFolder) return say(Txt::BodyInstall);
        if (s.installedVersion.empty()) return say(Txt::BodyUpdate);
        return say(Txt::BodyUpdateVersion, {{L"version", s.installedVersion}});
    case Screen::CloseApp:
        if (s.appRunsAsAdmin) return say(Txt::BodyAppRunsAsAdmin);
        return say(s.uninstalling ? Txt::BodyCloseToRemove : Txt::BodyCloseToUpdate);
    case Screen::EndApp: return say(Txt::BodyEndApp);
    case Screen::Progress: return say(s.progressStep);
    case Screen::Done: return say(Txt::BodyInstalled);
    case Screen::Error: return say(s.error);
    case Screen::RemoveConfirm: return say(Txt::BodyRemove);
    case Screen::Removed:
        if (!s.liveProtectedFolder.empty()) return say(Txt::BodyLiveProtected, {{L"folder", s.liveProtectedFolder}});
        if (s.liveScriptKept) return say(Txt::BodyLiveScriptOpen);
        if (s.uninstallerLeft) return say(Txt::BodyUninstallerLeft, {{L"folder", s.installFolder}});
        return say(s.settingsRemoved ? Txt::BodySettingsRemoved : Txt::BodySettingsKept);
    case Screen::NotInstalled: return say(Txt::BodyNothingInstalled);
    case Screen::OldWindows: return say(Txt::BodyOldWindows, {{L"build", std::to_wstring(s.osBuild)}});
    }
    return {};
}

std::wstring primaryLabel(const ScreenState& s)
{
    switch (s.screen) {
    case Screen::Welcome: return say(s.appInFolder ? Txt::ButtonUpdate : Txt::ButtonInstall);
    case Screen::CloseApp: return say(s.appRunsAsAdmin ? Txt::ButtonTryAgain : Txt::ButtonCloseApp);
    case Screen::EndApp: return say(Txt::ButtonEndApp);
    case Screen::Progress: return {};
    case Screen::Done: return say(Txt::ButtonDone);
    case Screen::Error: return say(Txt::ButtonClose);
    case Screen::RemoveConfirm: return say(Txt::ButtonRemove);
    case Screen::Removed: return say(Txt::ButtonDone);
    case Screen::NotInstalled: return say(Txt::ButtonClose);
    case Screen::OldWindows: return say(Txt::ButtonClose);
    }
    return {};
}

std::wstring secondaryLabel(const ScreenState& s)
{
    switch (s.screen) {
    case Screen::Welcome:
    case Screen::RemoveConfirm: return say(Txt::ButtonCancel);
    case Screen::CloseApp:
    case Screen::EndApp: return say(Txt::ButtonBack);
    case Screen::Error: return s.uninstalling ? std::wstring() : say(Txt::ButtonBack);
    // Trying again helps only where Live holds the files, not where Windows protects the folder.
    case Screen::Removed:
        return s.liveScriptKept && s.liveProtectedFolder.empty() ? say(Txt::ButtonTryAgain) : std::wstring();
    default: return {};
    }
}

std::wstring checkboxLabel(const ScreenState& s)
{
    switch (s.screen) {
    case Screen::Welcome: return say(Txt::CheckDesktopShortcut);
    case Screen::Done: return say(Txt::CheckOpenApp);
    case Screen::RemoveConfirm: return say(Txt::CheckRemoveSettings);
    default: return {};
    }
}

std::wstring noticeText(const ScreenState& s)
{
    if (s.screen == Screen::Done) {
        if (s.startMenuShortcutMissing && s.desktopShortcutMissing) return say(Txt::NoticeNoShortcuts);
        if (s.startMenuShortcutMissing) return say(Txt::NoticeNoStartMenuShortcut);
        if (s.desktopShortcutMissing) return say(Txt::NoticeNoDesktopShortcut);
        return {};
    }
    if (s.screen != Screen::Welcome) return {};
    if (!s.folderProblem.empty()) return say(s.folderProblem);
    if (s.osBuild != 0 && s.osBuild < kIntendedWindowsBuild) return say(Txt::NoticeWindowsOld);
    if (s.mediaFeaturePackMissing) return say(Txt::NoticeMediaFeaturePack);
    return {};
}

std::wstring acceptanceText(const ScreenState& s)
{
    return s.screen == Screen::Welcome ? say(Txt::AcceptanceLine) : std::wstring();
}

std::wstring linkText(Target link) { return say(link == Target::Change ? Txt::LinkChange : Txt::LinkLicense); }

std::wstring removeHintText(const ScreenState& s)
{
    return s.screen == Screen::RemoveConfirm ? say(Txt::RemoveHint) : std::wstring();
}

} // namespace gls
