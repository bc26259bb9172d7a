// What the screens say, and which elements each screen has.
#include "core/screen_texts.h"

#include <gtest/gtest.h>

using gls::Screen;
using gls::ScreenState;

namespace {

ScreenState on(Screen screen, bool uninstalling = false)
{
    ScreenState s;
    s.screen = screen;
    s.uninstalling = uninstalling;
    return s;
}

} // namespace

TEST(ScreenTexts, WelcomeForAnInstallAndAnUpdate)
{
    ScreenState s = on(Screen::Welcome);
    EXPECT_EQ(gls::titleText(s), L"Install Glimmerline");
    EXPECT_EQ(gls::primaryLabel(s), L"Install");
    EXPECT_EQ(gls::secondaryLabel(s), L"Cancel");
    EXPECT_EQ(gls::checkboxLabel(s), L"Add a shortcut to the desktop");
    EXPECT_EQ(gls::bodyText(s), L"Spectral waveforms in Ableton Live's arrangement and clip view.");
    s.appInFolder = true;
    s.installedVersion = L"1.0.2";
    EXPECT_EQ(gls::titleText(s), L"Update Glimmerline");
    EXPECT_EQ(gls::primaryLabel(s), L"Update");
    EXPECT_EQ(gls::bodyText(s).rfind(L"Glimmerline 1.0.2 ", 0), 0u);
    s.installedVersion.clear();
    EXPECT_EQ(gls::bodyText(s).rfind(L"Glimmerline is in this folder", 0), 0u);
}

TEST(ScreenTexts, OneNoticeAtMostInItsOrder)
{
    ScreenState s = on(Screen::Welcome);
    EXPECT_EQ(gls::noticeText(s), L"");
    s.mediaFeaturePackMissing = true;
    EXPECT_EQ(gls::noticeText(s), L"MP3 and M4A files need Windows' Media Feature Pack.");
    s.osBuild = 14393;
    EXPECT_EQ(gls::noticeText(s), L"Glimmerline is made for Windows 10 from version 2004.");
    s.osBuild = 19041;
    EXPECT_EQ(gls::noticeText(s), L"MP3 and M4A files need Windows' Media Feature Pack.");
    s.folderProblem = gls::Txt::FolderPickOne;
    EXPECT_EQ(gls::noticeText(s), L"Pick a folder to install into.");
    s.screen = Screen::Done;
    EXPECT_EQ(gls::noticeText(s), L"");
}

TEST(ScreenTexts, ButtonsPerScreen)
{
    EXPECT_EQ(gls::primaryLabel(on(Screen::Progress)), L"");
    EXPECT_EQ(gls::secondaryLabel(on(Screen::Progress)), L"");
    EXPECT_EQ(gls::secondaryLabel(on(Screen::Error)), L"Back");
    EXPECT_EQ(gls::secondaryLabel(on(Screen::Error, true)), L""); // an uninstall's error has no way back
    EXPECT_EQ(gls::titleText(on(Screen::Error, true)), L"Glimmerline was not fully removed");
    EXPECT_EQ(gls::primaryLabel(on(Screen::NotInstalled, true)), L"Close");
    EXPECT_EQ(gls::checkboxLabel(on(Screen::Done)), L"Open Glimmerline");
    EXPECT_EQ(gls::checkboxLabel(on(Screen::CloseApp)), L"");
    EXPECT_FALSE(gls::checkboxLabel(on(Screen::RemoveConfirm, true)).empty());
    EXPECT_NE(gls::removeHintText(on(Screen::RemoveConfirm, true)).find(L'\n'), std::wstring::npos);

    ScreenState removed = on(Screen::Removed, true);
    EXPECT_EQ(gls::secondaryLabel(removed), L"");
    removed.liveScriptKept = true;
    EXPECT_EQ(gls::secondaryLabel(removed), L"Try again");
    EXPECT_EQ(gls::bodyText(removed), L"Live has Glimmerline's script open, so it stays in Live's User Library for now. "
                                      L"Close Live, then click Try again.");
    // Where Windows protects the library, trying again cannot help.
    removed.liveProtectedFolder = L"C:\\Docs\\User Library\\Remote Scripts";
    EXPECT_EQ(gls::secondaryLabel(removed), L"");
    EXPECT_EQ(gls::bodyText(removed), L"Windows protects Live's User Library, so Glimmerline's files stay in it. "
                                      L"Remove them yourself from C:\\Docs\\User Library\\Remote Scripts.");
    removed.liveProtectedFolder.clear();
    removed.liveScriptKept = false;
    removed.uninstallerLeft = true;
    removed.installFolder = L"C:\\Apps\\Glimmerline";
    EXPECT_EQ(gls::bodyText(removed), L"Only Uninstall.exe is left: Windows does not let Setup delete it while it runs. "
                                      L"Delete C:\\Apps\\Glimmerline once this window is closed.");
    removed.uninstallerLeft = false;
    removed.settingsRemoved = true;
    std::wstring gone = gls::bodyText(removed);
    removed.settingsRemoved = false;
    EXPECT_NE(gls::bodyText(removed), gone);
}

TEST(ScreenTexts, DoneScreenNamesTheShortcutsWindowsDidNotAllow)
{
    ScreenState done = on(Screen::Done);
    EXPECT_EQ(gls::noticeText(done), L"");
    done.desktopShortcutMissing = true;
    EXPECT_EQ(gls::noticeText(done), L"Windows did not let Setup add the desktop shortcut.");
    done.startMenuShortcutMissing = true;
    EXPECT_EQ(gls::noticeText(done), L"Windows did not let Setup add the Start menu and desktop shortcuts.");
    done.desktopShortcutMissing = false;
    EXPECT_EQ(gls::noticeText(done), L"Windows did not let Setup add the Start menu shortcut.");
}

TEST(ScreenTexts, CloseScreenForAnAppThatRunsAsAdministrator)
{
    for (bool uninstalling : {false, true}) {
        ScreenState s = on(Screen::CloseApp, uninstalling);
        s.appRunsAsAdmin = true;
        EXPECT_EQ(gls::titleText(s), L"Glimmerline runs as administrator");
        EXPECT_EQ(gls::bodyText(s), L"Windows does not let Setup close it. Close Glimmerline yourself, then click Try "
                                    L"again.");
        EXPECT_EQ(gls::primaryLabel(s), L"Try again");
        EXPECT_EQ(gls::secondaryLabel(s), L"Back");
    }
    ScreenState asked = on(Screen::CloseApp);
    EXPECT_EQ(gls::titleText(asked), L"Glimmerline is open");
    EXPECT_EQ(gls::primaryLabel(asked), L"Close Glimmerline");
}

TEST(ScreenTexts, ProgressTitleAndOldWindowsBody)
{
    ScreenState p = on(Screen::Progress);
    EXPECT_EQ(gls::titleText(p), L"Installing");
    p.uninstalling = true;
    EXPECT_EQ(gls::titleText(p), L"Removing");
    p.closingApp = true;
    EXPECT_EQ(gls::titleText(p), L"Closing Glimmerline");
    p.progressStep = gls::Txt::StepCopying;
    EXPECT_EQ(gls::bodyText(p), L"Copying files");

    ScreenState old = on(Screen::OldWindows);
    old.osBuild = 14392;
    EXPECT_EQ(gls::bodyText(old), L"It runs on Windows 10 version 2004 or newer, and on Windows 11. This computer has "
                                  L"an older Windows (build 14392).");
}
