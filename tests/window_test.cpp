// The real setup window under Xvfb: it opens centred and painted, and closes when asked.
#include "e2e_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace gls::test;

namespace {

using SetupWindow = SetupRun;

// A screenshot of the whole X screen, for a person to look at, and the colour of one of its
// pixels as "#RRGGBB". Wine draws Direct2D through OpenGL, so the screen DC does not show it;
// the X server's own picture does. Empty off Wine.
std::string screenshotPixel(const std::wstring& name, POINT at)
{
    if (!underWine()) return {};
    std::wstring folder = buildDir() + L"\\screenshots";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::wstring png = folder + L"\\" + name + L".png";
    std::wstring txt = folder + L"\\" + name + L"-pixel.txt";
    ::DeleteFileW(txt.c_str());
    ::DeleteFileW(png.c_str());
    runProgram(L"Z:\\usr\\bin\\import", L"-window root \"" + widen(unixPath(png)) + L"\"", {}, 20000);
    // The wait on a host program can end before it has run; look for its output a while.
    for (int i = 0; i < 100 && !exists(png); ++i) ::Sleep(50);
    ::Sleep(100);
    runProgram(L"Z:\\usr\\bin\\convert",
               L"\"" + widen(unixPath(png)) + L"\" -crop 1x1+" + std::to_wstring(at.x) + L"+" + std::to_wstring(at.y) +
                   L" -depth 8 \"" + widen(unixPath(txt)) + L"\"",
               {}, 20000);
    // "0,0: (244,245,247)  #F4F5F7  srgb(...)" follows a comment line.
    for (int i = 0; i < 100 && readFile(txt).find("  #") == std::string::npos; ++i) ::Sleep(50);
    std::string text = readFile(txt);
    size_t hash = text.find("  #");
    if (hash != std::string::npos) hash += 2;
    return hash == std::string::npos ? std::string() : text.substr(hash, 7);
}

} // namespace

TEST_F(SetupWindow, OpensCentredInTheThemeColourAndClosesWithTwo)
{
    StandInApp window(setupExePath(), L"", {{L"GLIMMERLINE_SETUP_TEST", folder.path()}});
    HWND hwnd = StandInApp::waitForWindow(L"GlimmerlineSetupTestWindow", 20000);
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
    EXPECT_STREQ(title, L"Glimmerline Setup");

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
