// Finding, closing and ending real stand-in app processes; each test uses a window class of its own.
#include "platform/env.h"
#include "process/running_app.h"
#include "test_support.h"

#include <gtest/gtest.h>

using gls::test::StandInApp;
using gls::test::TestFolder;

namespace {

struct AppSetup {
    gls::Env env;
    std::wstring folder;
    std::wstring exe;
};

// An install folder holding a copy of the stand-in app, and a class name no other test uses.
AppSetup appIn(const TestFolder& folder)
{
    static int n = 0;
    AppSetup s;
    s.env.appWindowClass = L"GlsRunningAppTest" + std::to_wstring(::GetCurrentProcessId()) + L"_" + std::to_wstring(n++);
    s.folder = folder / L"Glimmerline";
    s.exe = s.folder + L"\\Glimmerline.exe";
    ::CreateDirectoryW(s.folder.c_str(), nullptr);
    ::CopyFileW(gls::test::standInExe().c_str(), s.exe.c_str(), FALSE);
    return s;
}

std::wstring classSwitch(const AppSetup& s) { return L"--class=" + s.env.appWindowClass; }

} // namespace

TEST(RunningApp, NothingRunningClosesAtOnce)
{
    TestFolder folder;
    AppSetup s = appIn(folder);
    ULONGLONG start = ::GetTickCount64();
    EXPECT_FALSE(gls::findRunningApp(s.env, s.folder).running());
    EXPECT_TRUE(gls::askAppToClose(s.env, s.folder, 5000));
    EXPECT_LT(::GetTickCount64() - start, 1000u);
}

TEST(RunningApp, AppWithItsWindowIsFoundAndClosesWhenAsked)
{
    TestFolder folder;
    AppSetup s = appIn(folder);
    StandInApp app(s.exe, classSwitch(s));
    ASSERT_NE(StandInApp::waitForWindow(s.env.appWindowClass), nullptr);
    gls::RunningApp found = gls::findRunningApp(s.env, s.folder);
    ASSERT_EQ(found.windows.size(), 1u);
    ASSERT_EQ(found.processIds.size(), 1u); // the window's owner and the image path name one process
    EXPECT_EQ(found.processIds[0], app.pid());
    EXPECT_TRUE(gls::askAppToClose(s.env, s.folder, 10000));
    EXPECT_FALSE(app.running());
}

TEST(RunningApp, WindowIgnoringCloseSpendsTheBudget)
{
    TestFolder folder;
    AppSetup s = appIn(folder);
    StandInApp app(s.exe, classSwitch(s) + L" --ignore-close");
    ASSERT_NE(StandInApp::waitForWindow(s.env.appWindowClass), nullptr);
    EXPECT_FALSE(gls::askAppToClose(s.env, s.folder, 0)); // asked once, then the budget is gone
    ULONGLONG start = ::GetTickCount64();
    EXPECT_FALSE(gls::askAppToClose(s.env, s.folder, 500));
    EXPECT_GE(::GetTickCount64() - start, 500u);
    EXPECT_TRUE(app.running());
}

TEST(RunningApp, WindowlessProcessCountsOnlyFromTheInstallFolder)
{
    TestFolder folder;
    AppSetup s = appIn(folder);
    StandInApp inFolder(s.exe, L"--no-window");
    StandInApp elsewhere(gls::test::standInExe(), L"--no-window");
    ::Sleep(300);
    gls::RunningApp found = gls::findRunningApp(s.env, s.folder);
    EXPECT_TRUE(found.windows.empty());
    ASSERT_EQ(found.processIds.size(), 1u);
    EXPECT_EQ(found.processIds[0], inFolder.pid());
    // Without a folder only windows count.
    EXPECT_FALSE(gls::findRunningApp(s.env, L"").running());
    // A window counts wherever its app runs from.
    gls::Env env = s.env;
    StandInApp windowElsewhere(gls::test::standInExe(), classSwitch(s));
    ASSERT_NE(StandInApp::waitForWindow(s.env.appWindowClass), nullptr);
    EXPECT_EQ(gls::findRunningApp(env, L"").processIds, std::vector<std::uint32_t>{windowElsewhere.pid()});
}

TEST(RunningApp, EndAppEndsEveryProcess)
{
    TestFolder folder;
    AppSetup s = appIn(folder);
    StandInApp stubborn(s.exe, classSwitch(s) + L" --ignore-close");
    StandInApp windowless(s.exe, L"--no-window");
    ASSERT_NE(StandInApp::waitForWindow(s.env.appWindowClass), nullptr);
    EXPECT_EQ(gls::findRunningApp(s.env, s.folder).processIds.size(), 2u);
    EXPECT_TRUE(gls::endApp(s.env, s.folder));
    EXPECT_FALSE(stubborn.running());
    EXPECT_FALSE(windowless.running());
}

TEST(RunningApp, WaitForQuit)
{
    EXPECT_TRUE(gls::waitForQuit(0, 1000));
    StandInApp app(gls::test::standInExe(), L"--no-window");
    EXPECT_FALSE(gls::waitForQuit(app.pid(), 200));
    DWORD pid = app.pid();
    {
        StandInApp quick(gls::test::standInExe(), L"--no-window");
        pid = quick.pid();
    } // ended here
    EXPECT_TRUE(gls::waitForQuit(pid, 1000));
}
