// The setup window: one object that owns the frame, the theme, the Direct2D objects and the
// screen state, and handles the window's messages.
#pragma once

#include "app/unique_handle.h"
#include "fonts.h"
#include "screen_state.h"
#include "setup_window.h"

#include <windows.h>

#include <d2d1.h>

namespace gls {

struct Env;

class Window {
public:
    explicit Window(const WindowParams& params);
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates and shows the window, pumps messages until it is gone; returns the result code.
    int run();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void paint();
    void onSize(LPARAM lParam);
    void onClose();
    bool onSettingChange(WPARAM wParam, LPARAM lParam);
    void refitToMonitor(const RECT* suggested);

    WindowParams params_;
    const Env& env_;
    ScreenState state_;
    HWND hwnd_ = nullptr;
    ComPtr<ID2D1Factory> d2dFactory_;
    ComPtr<ID2D1HwndRenderTarget> renderTarget_;
    FontChoice fonts_;
    bool light_ = true;
    float scale_ = 1.0f;
    int result_ = 2;
};

} // namespace gls
