// What the tests of the real setup window share: starting it and driving it from this process
// with posted mouse and key messages, finding a dialog it shows, and reading the X screen.
#pragma once

#include "test_support.h"

#include <windows.h>

#include <string>

namespace gls::test {

// The setup started in test mode with its window, driven at design coordinates (the bench's
// display is 96 DPI, so one DIP is one pixel).
class WindowDriver {
public:
    explicit WindowDriver(const TestFolder& folder, const std::wstring& args = L"", EnvOverrides extra = {});
    HWND hwnd() const { return hwnd_; }
    DWORD pid() const { return process_.pid(); }
    void press(int x, int y) { post(WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
    void move(int x, int y) { post(WM_MOUSEMOVE, 0, x, y); }
    void release(int x, int y) { post(WM_LBUTTONUP, 0, x, y); }
    void click(int x, int y)
    {
        move(x, y);
        press(x, y);
        release(x, y);
    }
    // A key press, or with repeat one of the presses a held key sends after the first.
    void key(WPARAM vk, bool repeat = false) { ::PostMessageW(hwnd_, WM_KEYDOWN, vk, repeat ? (1 << 30) | 1 : 1); }
    // Presses a key every 300 ms until the setup exits; its exit code.
    DWORD keyUntilExit(WPARAM vk, DWORD limitMs = 30000);
    DWORD waitExit(DWORD limitMs = 20000) { return process_.waitExit(limitMs); }
    // Returns once the window's thread has taken what was posted to it so far.
    void settle();
    // What a drag onto a monitor of another DPI brings, each handled when the call returns:
    // WM_GETDPISCALEDSIZE, whose answer this returns ({0, 0} when the window gives none), and
    // WM_DPICHANGED with a suggested rectangle (false when it could not be sent).
    SIZE sizeForDpi(unsigned dpi);
    bool dpiChanged(unsigned dpi, const RECT& suggested);

private:
    void post(UINT message, WPARAM wParam, int x, int y) { ::PostMessageW(hwnd_, message, wParam, MAKELPARAM(x, y)); }
    // The two DPI messages carry a pointer, which goes across processes as it is: the structure
    // is written into the setup's own memory, which goes with its process.
    void* inSetup(const void* data, SIZE_T size);
    StandInApp process_;
    HWND hwnd_ = nullptr;
    UniqueKernelHandle setupMemory_;
};

// The screen's title as a screen reader reads it: the name of the window's client object.
std::wstring screenTitle(HWND window);

// A visible top-level window of the process other than the given one (a dialog it shows).
HWND otherWindowOf(DWORD pid, HWND besides, DWORD limitMs = 10000);

// A screenshot of the whole X screen in build\screenshots, for a person to look at, and the
// colour of one of its pixels as "#RRGGBB". Wine draws Direct2D through OpenGL, so the screen
// DC does not show it; the X server's own picture does. Empty off Wine.
std::string screenshotPixel(const std::wstring& name, POINT at);

} // namespace gls::test
