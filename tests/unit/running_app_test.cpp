// Finding, closing and ending real stand-in app processes; each test uses a window class of its own.
#include "process/running_app.h"
#include "product_names.h"
#include "test_env.h"

#include <gtest/gtest.h>

using gls::test::appExeIn;
using gls::test::StandInApp;
using gls::test::TestFolder;

namespace {

// An install folder holding a copy of the stand-in app, and a window class no other test uses.
class RunningApp : public ::testing::Test {
protected:
    RunningApp()
    {
        static int n = 0;
        env.appWindowClass = L"GlsRunningAppTest" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                             std::to_wstring(n++);
        ::CreateDirectoryW(appFolder.c_str(), nullptr);
        ::CopyFileW(gls::test::standInExe().c_str(), exe.c_str(), FALSE);
    }
    std::wstring classSwitch() const { return L"--class=" + env.appWindowClass; }

    TestFolder folder;
    gls::Env env = gls::test::testEnv(folder);
    std::wstring appFolder = folder / L"Glimmerline";
    std::wstring exe = appExeIn(appFolder);
};

} // namespace

TEST_F(RunningApp, NothingRunningClosesAtOnce)
{
    ULONGLONG start = ::GetTickCount64();
    EXPECT_FALSE(gls::findRunningApp(env, appFolder).running());
    EXPECT_EQ(gls::askAppToClose(env, appFolder, 5000), gls::CloseOutcome::Closed);
    EXPECT_LT(::GetTickCount64() - start, 1000u);
}

TEST_F(RunningApp, AppWithItsWindowIsFoundAndClosesWhenAsked)
{
    StandInApp app(exe, classSwitch());
    ASSERT_NE(StandInApp::waitForWindow(env.appWindowClass), nullptr);
    gls::RunningApp found = gls::findRunningApp(env, appFolder);
    ASSERT_EQ(found.windows.size(), 1u);
    ASSERT_EQ(found.processIds.size(), 1u); // the window's owner and the image path name one process
    EXPECT_EQ(found.processIds[0], app.pid());
    EXPECT_EQ(gls::askAppToClose(env, appFolder, 10000), gls::CloseOutcome::Closed);
    EXPECT_FALSE(app.running());
}

TEST_F(RunningApp, WindowIgnoringCloseSpendsTheBudget)
{
    StandInApp app(exe, classSwitch() + L" --ignore-close");
    ASSERT_NE(StandInApp::waitForWindow(env.appWindowClass), nullptr);
    // Asked once, then the budget is gone.
    EXPECT_EQ(gls::askAppToClose(env, appFolder, 0), gls::CloseOutcome::OutOfTime);
    ULONGLONG start = ::GetTickCount64();
    EXPECT_EQ(gls::askAppToClose(env, appFolder, 500), gls::CloseOutcome::OutOfTime);
    EXPECT_GE(::GetTickCount64() - start, 500u);
    EXPECT_TRUE(app.running());
}

TEST_F(RunningApp, WindowlessProcessCountsOnlyFromTheInstallFolder)
{
    StandInApp inFolder(exe, L"--no-window");
    StandInApp elsewhere(gls::test::standInExe(), L"--no-window");
    ::Sleep(300);
    gls::RunningApp found = gls::findRunningApp(env, appFolder);
    EXPECT_TRUE(found.windows.empty());
    ASSERT_EQ(found.processIds.size(), 1u);
    EXPECT_EQ(found.processIds[0], inFolder.pid());
    // Without a folder only windows count.
    EXPECT_FALSE(gls::findRunningApp(env, L"").running());
    // A window counts wherever its app runs from.
    StandInApp windowElsewhere(gls::test::standInExe(), classSwitch());
    ASSERT_NE(StandInApp::waitForWindow(env.appWindowClass), nullptr);
    EXPECT_EQ(gls::findRunningApp(env, L"").processIds, std::vector<std::uint32_t>{windowElsewhere.pid()});
}

TEST_F(RunningApp, EndAppEndsEveryProcess)
{
    StandInApp stubborn(exe, classSwitch() + L" --ignore-close");
    StandInApp windowless(exe, L"--no-window");
    ASSERT_NE(StandInApp::waitForWindow(env.appWindowClass), nullptr);
    EXPECT_EQ(gls::findRunningApp(env, appFolder).processIds.size(), 2u);
    EXPECT_TRUE(gls::endApp(env, appFolder));
    EXPECT_FALSE(stubborn.running());
    EXPECT_FALSE(windowless.running());
}

TEST_F(RunningApp, WaitForQuit)
{
    EXPECT_TRUE(gls::waitForQuit(0, 1000));
    EXPECT_TRUE(gls::waitForQuit(::GetCurrentProcessId(), 200)); // "/P=" naming the setup itself
    StandInApp app(gls::test::standInExe(), L"--no-window");
    EXPECT_FALSE(gls::waitForQuit(app.pid(), 200));
    DWORD pid = app.pid();
    {
        StandInApp quick(gls::test::standInExe(), L"--no-window");
        pid = quick.pid();
    } // ended here
    EXPECT_TRUE(gls::waitForQuit(pid, 1000));
}
