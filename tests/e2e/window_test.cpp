// The real setup window under Xvfb: it opens centred and painted, follows a DPI change, and closes
// when asked.
#include "core/window_fit.h"
#include "platform/unique_handle.h"
#include "ui/monitor_dpi.h"
#include "e2e_fixture.h"
#include "product_names.h"
#include "window_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace gls::test;
using gls::UniqueKernelHandle;
using gls::UniqueModule;

namespace {

using SetupWindow = SetupRun;

} // namespace

TEST_F(SetupWindow, OpensCentredInTheThemeColourAndClosesWithTwo)
{
    StandInApp window(setupExePath(), L"", {{L"GLIMMERLINE_SETUP_TEST", folder.path()}});
    HWND hwnd = StandInApp::waitForWindow(kTestSetupWindowClass, 20000);
    ASSERT_NE(hwnd, nullptr);
    ::Sleep(500); // let it paint

    RECT client;
    ASSERT_TRUE(::GetClientRect(hwnd, &client));
    EXPECT_EQ(client.right - client.left, 440);
    EXPECT_EQ(client.bottom - client.top, 388);
    RECT frame;
    ASSERT_TRUE(::GetWindowRect(hwnd, &frame));
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &info);
    int workWidth = info.rcWork.right - info.rcWork.left;
    EXPECT_NEAR(frame.left - info.rcWork.left, (workWidth - (frame.right - frame.left)) / 2, 1);
    wchar_t title[64] = {};
    ::GetWindowTextW(hwnd, title, 64);
    EXPECT_EQ(std::wstring(title), L"Glimmerline Setup");

    // Painted in the light palette's background (the test prefix has no dark-mode setting).
    // A point in the right margin, where no element of any screen is drawn.
    POINT centre = {432, 100};
    ::ClientToScreen(hwnd, &centre);
    // The window may reach the X server a moment after it is created.
    std::string pixel;
    for (int i = 0; i < 20 && underWine() && (pixel.empty() || pixel == "#000000"); ++i) {
        ::Sleep(250);
        pixel = screenshotPixel(L"window-welcome", centre);
    }
    if (underWine()) {
        EXPECT_EQ(pixel, "#F4F5F7");
    }

    // Switching the apps' theme to dark recolours the open window at once.
    HKEY personalize = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                                nullptr, 0, KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &personalize, nullptr),
              ERROR_SUCCESS);
    DWORD dark = 0;
    ::RegSetValueExW(personalize, L"AppsUseLightTheme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dark), sizeof(dark));
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(hwnd, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"), SMTO_ABORTIFHUNG,
                          5000, &ignored);
    ::RegDeleteValueW(personalize, L"AppsUseLightTheme");
    ::RegCloseKey(personalize);
    if (underWine()) {
        std::string darkPixel;
        for (int i = 0; i < 20 && darkPixel != "#16181B"; ++i) {
            ::Sleep(250);
            darkPixel = screenshotPixel(L"window-welcome-dark", centre);
        }
        EXPECT_EQ(darkPixel, "#16181B");
    }

    // A second setup with a window finds the first and exits with 4, showing nothing.
    auto second = setup(L"");
    EXPECT_EQ(second.exitCode, 4u);
    EXPECT_TRUE(logHas("] another Glimmerline setup is running"));
    EXPECT_TRUE(::IsWindow(hwnd));

    ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(window.waitExit(20000), 2u);
    EXPECT_TRUE(logHas("] window closed: 2"));
}

namespace {

// Centres of the welcome screen's elements in the design space.
constexpr int kPrimaryX = 364, kButtonY = 346, kSecondaryX = 252, kLicenseX = 40, kLicenseY = 354, kChangeX = 410,
              kChangeY = 242;

} // namespace

TEST_F(SetupWindow, WindowedInstallFromWelcomeToDoneOpensTheApp)
{
    WindowDriver window(folder);
    ASSERT_NE(window.hwnd(), nullptr);
    window.click(kPrimaryX, kButtonY); // "Install"
    // Enter does nothing while the job runs; on the installed screen it opens the app and closes.
    EXPECT_EQ(window.keyUntilExit(VK_RETURN), 0u);
    EXPECT_TRUE(exists(uninstallerIn(installDir())));
    EXPECT_EQ(readFile(folder / L"launched.txt"), narrow(appExeIn(installDir())) + "\n");
    EXPECT_TRUE(logHas("] installed 11 files"));
    EXPECT_TRUE(logHas("] window closed: 0"));
}

TEST_F(SetupWindow, DraggingOffAButtonDoesNothingAndCancelReturnsTwo)
{
    WindowDriver window(folder);
    ASSERT_NE(window.hwnd(), nullptr);
    window.press(kPrimaryX, kButtonY);
    window.move(kSecondaryX, kButtonY);
    window.release(kSecondaryX, kButtonY);
    EXPECT_EQ(window.waitExit(1500), STILL_ACTIVE);
    EXPECT_FALSE(exists(installDir()));
    // A display change drops the render target; a click that comes before the next paint still
    // finds its button.
    ::PostMessageW(window.hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1600, 1000));
    window.click(kSecondaryX, kButtonY); // "Cancel"
    EXPECT_EQ(window.waitExit(), 2u);
}

TEST_F(SetupWindow, DpiChangeTakesTheSuggestedRectangleAndDrawsAtTheNewScale)
{
    WindowDriver window(folder);
    ASSERT_NE(window.hwnd(), nullptr);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(window.hwnd(), MONITOR_DEFAULTTONEAREST), &info));
    const RECT work = info.rcWork;
    SIZE frame = gls::frameForDpi(144);
    gls::WindowFit fit = gls::fitWindow(work.right - work.left, work.bottom - work.top, 144, frame.cx, frame.cy);
    ASSERT_FLOAT_EQ(fit.scale, 1.5f); // the bench's screen holds the window at 150 %

    // Asked before the change, the window answers its size at 150 %, so that the system suggests
    // a rectangle of that size.
    SIZE size = window.sizeForDpi(144);
    EXPECT_EQ(size.cx, fit.width);
    EXPECT_EQ(size.cy, fit.height);
    auto rectAt = [&](LONG x, LONG y) { return RECT{x, y, x + size.cx, y + size.cy}; };
    auto expectWindowAt = [&](const RECT& expected) {
        RECT now = {};
        ASSERT_TRUE(::GetWindowRect(window.hwnd(), &now));
        EXPECT_EQ(now.left, expected.left);
        EXPECT_EQ(now.top, expected.top);
        EXPECT_EQ(now.right, expected.right);
        EXPECT_EQ(now.bottom, expected.bottom);
    };

    // The screen is drawn again at 150 %: the primary button's fill lies where that scale puts it.
    RECT onScreen = rectAt(work.left + 60, work.top + 40);
    ASSERT_TRUE(window.dpiChanged(144, onScreen));
    expectWindowAt(onScreen);
    if (underWine()) {
        POINT fill = {318 * 3 / 2, 346 * 3 / 2};
        ::ClientToScreen(window.hwnd(), &fill);
        std::string pixel;
        for (int i = 0; i < 20 && pixel != "#17191C"; ++i) {
            ::Sleep(250);
            pixel = screenshotPixel(L"window-150-percent", fill);
        }
        EXPECT_EQ(pixel, "#17191C");
    }

    // Half across the work area's edge, where the cursor that drags it is: taken as it is, not
    // pulled back inside.
    RECT acrossTheEdge = rectAt(work.right - size.cx / 2, work.top + 40);
    ASSERT_TRUE(window.dpiChanged(144, acrossTheEdge));
    expectWindowAt(acrossTheEdge);

    // Clicks find the elements at the new scale: "Cancel".
    window.click(kSecondaryX * 3 / 2, kButtonY * 3 / 2);
    EXPECT_EQ(window.waitExit(), 2u);
}

TEST_F(SetupWindow, CloseRequestWhileTheFolderPickerIsOpenWaitsForIt)
{
    WindowDriver window(folder);
    ASSERT_NE(window.hwnd(), nullptr);
    window.click(kChangeX, kChangeY); // "Change…"
    HWND picker = otherWindowOf(window.pid(), window.hwnd());
    ASSERT_NE(picker, nullptr);
    ::PostMessageW(window.hwnd(), WM_CLOSE, 0, 0); // the taskbar's "Close window"
    window.settle();
    EXPECT_EQ(window.waitExit(500), STILL_ACTIVE);
    EXPECT_TRUE(::IsWindow(window.hwnd()));
    EXPECT_TRUE(::IsWindow(picker));
    ::PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(window.waitExit(), 2u); // the close is handled once the picker has returned
}

TEST_F(SetupWindow, LostDoneMessageStillLeavesTheProgressScreen)
{
    UniqueKernelHandle swallowed(::CreateEventW(nullptr, TRUE, FALSE, L"GlsTestDoneSwallowed"));
    UniqueModule hookModule(::LoadLibraryW((buildDir() + L"\\tests\\gls_swallow_done.dll").c_str()));
    ASSERT_TRUE(hookModule);
    auto swallow = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(hookModule.get(), "swallowDone")));
    WindowDriver window(folder);
    ASSERT_NE(window.hwnd(), nullptr);
    HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, swallow, hookModule.get(),
                                     ::GetWindowThreadProcessId(window.hwnd(), nullptr));
    ASSERT_NE(hook, nullptr);
    window.key(VK_RETURN); // "Install"
    EXPECT_EQ(::WaitForSingleObject(swallowed.get(), 30000), WAIT_OBJECT_0);
    EXPECT_EQ(window.keyUntilExit(VK_RETURN), 0u); // "Done" on the installed screen
    ::UnhookWindowsHookEx(hook);
    EXPECT_TRUE(logHas("] window closed: 0"));
}

TEST_F(SetupWindow, LicenseLinkWritesTheAgreementAndEscapeCancels)
{
    WindowDriver window(folder);
    ASSERT_NE(window.hwnd(), nullptr);
    window.click(kLicenseX, kLicenseY);
    for (int i = 0; i < 50 && !exists(folder / L"Temp\\Glimmerline License.txt"); ++i) ::Sleep(100);
    EXPECT_NE(readFile(folder / L"Temp\\Glimmerline License.txt").find("GLIMMERLINE LICENSE AGREEMENT"), std::string::npos);
    window.key(VK_ESCAPE);
    EXPECT_EQ(window.waitExit(), 2u);
    EXPECT_TRUE(logHas("] license agreement: " + narrow(folder / L"Temp\\Glimmerline License.txt") + " ("));
}

TEST_F(SetupWindow, ErrorScreenIgnoresEscapeAndClosesWithOne)
{
    // The programs folder is a file, so the install cannot write its folder.
    ASSERT_TRUE(writeFile(folder / L"LocalAppData\\Programs", "in the way"));
    WindowDriver window(folder);
    ASSERT_NE(window.hwnd(), nullptr);
    window.key(VK_RETURN); // "Install"
    for (int i = 0; i < 100 && !logHas("] can't write in "); ++i) ::Sleep(100);
    ::Sleep(1500); // past the progress screen's minimum
    window.key(VK_ESCAPE);
    EXPECT_EQ(window.waitExit(1000), STILL_ACTIVE);
    EXPECT_EQ(window.keyUntilExit(VK_RETURN), 1u); // "Close"
}

TEST_F(SetupWindow, RunningAppIsClosedFromTheCloseScreen)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    StandInApp app(appExeIn(installDir()), L"", {{L"GLIMMERLINE_SETUP_TEST", folder.path()}});
    ASSERT_NE(StandInApp::waitForWindow(kTestAppWindowClass), nullptr);
    WindowDriver window(folder);
    ASSERT_NE(window.hwnd(), nullptr);
    window.key(VK_RETURN); // "Update": the app runs, so the close screen shows
    for (int i = 0; i < 3; ++i) window.key(VK_RETURN, true); // Enter held down does not go on
    window.settle();
    EXPECT_EQ(screenTitle(window.hwnd()), L"Glimmerline is open");
    EXPECT_TRUE(app.running());
    window.key(VK_RETURN); // "Close Glimmerline"
    EXPECT_EQ(window.keyUntilExit(VK_RETURN), 0u);
    EXPECT_FALSE(app.running());
    EXPECT_TRUE(logHas("] asked a Glimmerline window to close"));
    std::vector<std::string> lines = logLines(folder.path());
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.ends_with("] installed 11 files"); }),
              2);
}

TEST_F(SetupWindow, AppIgnoringCloseLeadsToTheEndScreenAndIsEnded)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    StandInApp app(appExeIn(installDir()), L"--ignore-close", {{L"GLIMMERLINE_SETUP_TEST", folder.path()}});
    ASSERT_NE(StandInApp::waitForWindow(kTestAppWindowClass), nullptr);
    WindowDriver window(folder);
    ASSERT_NE(window.hwnd(), nullptr);
    window.key(VK_RETURN); // "Update" → close screen
    ::Sleep(300);
    window.key(VK_RETURN); // "Close Glimmerline": ignored by the app for the whole budget
    ::PostMessageW(window.hwnd(), WM_CLOSE, 0, 0); // closing during the job is ignored
    for (int i = 0; i < 250 && !logHas("] Glimmerline did not close in 15000 ms"); ++i) ::Sleep(100);
    ASSERT_TRUE(logHas("] Glimmerline did not close in 15000 ms"));
    EXPECT_EQ(window.waitExit(1500), STILL_ACTIVE); // still open: the end screen
    window.key(VK_RETURN); // "End Glimmerline"
    EXPECT_EQ(window.keyUntilExit(VK_RETURN), 0u);
    EXPECT_FALSE(app.running());
    EXPECT_TRUE(logHas(", as the user asked"));
}

TEST_F(SetupWindow, AppRunningAsAdministratorIsLeftToTheUserWithTryAgain)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    auto app = std::make_unique<StandInApp>(appExeIn(installDir()), L"",
                                            EnvOverrides{{L"GLIMMERLINE_SETUP_TEST", folder.path()}});
    ASSERT_NE(StandInApp::waitForWindow(kTestAppWindowClass), nullptr);
    WindowDriver window(folder, L"", {{L"GLIMMERLINE_SETUP_TEST_APP_ADMIN", L"1"}});
    ASSERT_NE(window.hwnd(), nullptr);
    window.key(VK_RETURN); // "Update" → close screen
    ::Sleep(300);
    window.key(VK_RETURN); // "Close Glimmerline": the system refuses the request
    for (int i = 0; i < 100 && screenTitle(window.hwnd()) != L"Glimmerline runs as administrator"; ++i) ::Sleep(100);
    EXPECT_EQ(screenTitle(window.hwnd()), L"Glimmerline runs as administrator");
    EXPECT_TRUE(logHas("] Glimmerline runs as administrator: "));
    EXPECT_FALSE(logHas("] Glimmerline did not close in")); // no waiting, no end screen
    EXPECT_TRUE(app->running());

    app.reset(); // the user closes it by hand
    window.key(VK_RETURN); // "Try again": nothing runs now, so the update goes on
    EXPECT_EQ(window.keyUntilExit(VK_RETURN), 0u);
    std::vector<std::string> lines = logLines(folder.path());
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.ends_with("] installed 11 files"); }),
              2);
}

TEST_F(SetupWindow, WindowedUninstallWithTheLiveScriptHeldOffersTryAgain)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    // A Live user whose User Library holds the script, one module of which Live has loaded.
    std::wstring library = folder / L"Music\\User Library";
    ASSERT_TRUE(writeFile(folder / L"Roaming\\Ableton\\Live 12\\Preferences\\Library.cfg",
                          "<UserLibrary><ProjectPath Value=\"" + narrow(folder / L"Music") + "\" /></UserLibrary>"));
    ASSERT_TRUE(writeFile(library + L"\\Remote Scripts\\Glimmerline\\__init__.py", "init"));
    ASSERT_TRUE(writeFile(library + L"\\Remote Scripts\\Glimmerline\\engine.pyd", "module"));
    auto held = std::make_unique<HeldFile>(library + L"\\Remote Scripts\\Glimmerline\\engine.pyd");
    ASSERT_TRUE(held->holding());

    StandInApp process(setupExePath(), L"/uninstall", {{L"GLIMMERLINE_SETUP_TEST", folder.path()}});
    HWND hwnd = StandInApp::waitForWindow(kTestSetupWindowClass, 20000);
    ASSERT_NE(hwnd, nullptr);
    ::Sleep(600);
    ::PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0); // "Remove"
    for (int i = 0; i < 100 && !logHas("] uninstall done: ok, Live files left 1"); ++i) ::Sleep(100);
    ASSERT_TRUE(logHas("] in use: " + narrow(library) + "\\Remote Scripts\\Glimmerline\\engine.pyd"));
    ::Sleep(1000);
    EXPECT_FALSE(exists(appExeIn(installDir())));
    EXPECT_TRUE(exists(library + L"\\Remote Scripts\\Glimmerline\\__init__.py"));

    held.reset(); // Live lets go
    auto clickAt = [&](int x, int y) {
        ::PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    };
    clickAt(kSecondaryX, kButtonY); // "Try again"
    for (int i = 0; i < 50 && exists(library + L"\\Remote Scripts\\Glimmerline"); ++i) ::Sleep(100);
    EXPECT_FALSE(exists(library + L"\\Remote Scripts\\Glimmerline"));
    ::Sleep(1000);
    clickAt(kSecondaryX, kButtonY); // the button is gone: nothing happens
    EXPECT_EQ(process.waitExit(1000), STILL_ACTIVE);
    ::PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0); // "Done"
    EXPECT_EQ(process.waitExit(), 0u);
}
