// The setup window: creation on the right monitor at the right size, the message dispatch, and
// the render target's life.
#include "window.h"

#include "core/palette.h"
#include "core/product.h"
#include "core/resource_ids.h"
#include "core/window_fit.h"
#include "d2d_factory.h"
#include "high_contrast.h"
#include "monitor_dpi.h"
#include "paint_screen.h"
#include "platform/com_apartment.h"
#include "platform/env.h"
#include "platform/system_checks.h"
#include "theme.h"
#include "window_accessible.h"

#include <algorithm>
#include <cwchar>

namespace gls {

namespace {

struct Placement {
    RECT work;
    WindowFit fit;
};

// The window's size and scale on a monitor at a DPI: the monitor's own, or the one a DPI change
// brings. False when the monitor cannot be read (the fit is then for an empty work area).
bool placementOn(HMONITOR monitor, unsigned dpi, Placement& place)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    bool known = ::GetMonitorInfoW(monitor, &info);
    SIZE frame = frameForDpi(dpi);
    place.work = info.rcWork;
    place.fit = fitWindow(place.work.right - place.work.left, place.work.bottom - place.work.top, dpi, frame.cx,
                          frame.cy);
    return known;
}

} // namespace

Window::Window(const WindowParams& params) : params_(params), env_(*params.env)
{
    light_ = readLightTheme();
    palette_ = windowPalette(light_);
    state_.uninstalling = params.uninstalling;
    state_.installFolder = params.installFolder;
    state_.folderProblem = params.folderProblem;
    state_.desktopShortcut = params.desktopShortcut;
    state_.appInFolder = params.appInFolder;
    state_.installedVersion = params.installedVersion;
    state_.mediaFeaturePackMissing = !params.uninstalling && !mediaFoundationPresent(env_);
    state_.osBuild = windowsBuild();
    state_.screen = firstScreen(state_, params.nothingInstalled);
}

Window::~Window()
{
    disconnectAccessible();
    if (worker_.joinable()) worker_.join();
}

ExitCode Window::run()
{
    if (!createD2DFactory(d2dFactory_)) return ExitCode::Failed;
    if (!chooseFonts(fonts_)) return ExitCode::Failed;

    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0));
    wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = ::CreateSolidBrush(gdiColor(palette_.background));
    wc.lpszClassName = env_.setupWindowClass.c_str();
    ::RegisterClassExW(&wc); // a failure shows as a failed creation

    POINT at = {params_.pointX, params_.pointY};
    if (!params_.placeAtPoint) ::GetCursorPos(&at);
    HMONITOR monitor = ::MonitorFromPoint(at, MONITOR_DEFAULTTOPRIMARY);
    Placement place;
    placementOn(monitor, monitorDpi(monitor), place);
    scale_ = place.fit.scale;
    int workWidth = place.work.right - place.work.left;
    int workHeight = place.work.bottom - place.work.top;
    int x = place.work.left + (workWidth - place.fit.width) / 2;
    int y = place.work.top + (workHeight - place.fit.height) / 2;

    std::wstring title = say(params_.uninstalling ? Txt::RemoveWindowTitle : Txt::SetupTitle);
    HWND created = ::CreateWindowExW(0, env_.setupWindowClass.c_str(), title.c_str(), kSetupWindowStyle, x, y,
                                     place.fit.width, place.fit.height, nullptr, nullptr, instance, this);
    if (!created) return ExitCode::Failed;

    followUiState();
    applyTitleBarTheme(hwnd_, light_);
    if (params_.placeAtPoint) {
        ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    } else {
        ::ShowWindow(hwnd_, SW_SHOW);
        ::SetForegroundWindow(hwnd_);
    }
    ::UpdateWindow(hwnd_);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    if (worker_.joinable()) worker_.join();
    return result_;
}

LRESULT CALLBACK Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* window = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        window->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    auto* window = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!window) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return window->handle(message, wParam, lParam);
}

LRESULT Window::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        disconnectAccessible();
        ::PostQuitMessage(0);
        return 0;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == OBJID_CLIENT) {
            if (LRESULT served = serveAccessible(wParam)) return served;
        }
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_UPDATEUISTATE: {
        LRESULT handled = ::DefWindowProcW(hwnd_, message, wParam, lParam);
        followUiState();
        return handled;
    }
    case MsgAccessibleAction: {
        // Any process can post this message: a value that names no element is dropped.
        Target target = wParam <= static_cast<WPARAM>(Target::License) ? static_cast<Target>(wParam) : Target::None;
        if (static_cast<Screen>(lParam) == state_.screen && currentLayout().has(target)) click(target);
        return 0;
    }
    case WM_SIZE: onSize(lParam); return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        ::BeginPaint(hwnd_, &ps);
        paint();
        ::EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_CLOSE: onClose(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETTINGCHANGE: onSettingChange(wParam, lParam); return 0;
    case WM_SYSCOLORCHANGE: followSystemColours(); return 0;
    case WM_DISPLAYCHANGE: refitToMonitor(); return 0;
    case WM_GETDPISCALEDSIZE:
        // FALSE leaves the size to the system, which then scales the window's size linearly.
        return answerSizeForDpi(static_cast<unsigned>(wParam), *reinterpret_cast<SIZE*>(lParam)) ? TRUE : FALSE;
    case WM_DPICHANGED: takeSuggestedRect(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_KEYDOWN: onKey(wParam, lParam); return 0;
    case WM_MOUSEMOVE: onMouseMove(lParam); return 0;
    case WM_LBUTTONDOWN: onButtonDown(lParam); return 0;
    case WM_LBUTTONUP: onButtonUp(lParam); return 0;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        if (hover_ != Target::None) {
            hover_ = Target::None;
            ::InvalidateRect(hwnd_, nullptr, FALSE);
        }
        return 0;
    case MsgProgress:
        if (lParam == 1) {
            state_.closingApp = false;
            announceTitle();
        } else {
            state_.progress = static_cast<float>(wParam) / 1000.0f;
            announceProgress();
        }
        ::InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case MsgWorkDone: onWorkDone(static_cast<WorkOutcome>(wParam), static_cast<Work>(lParam)); return 0;
    case WM_TIMER:
        if (wParam == kWorkDoneTimer && workFinished_.load()) {
            onWorkDone(static_cast<WorkOutcome>(finishedOutcome_.load()), runningWork_);
        }
        return 0;
    default: return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

ScreenLayout Window::currentLayout()
{
    Painter measurer{nullptr, &fonts_, palette_, nullptr};
    return layoutScreen(state_, measuring(measurer));
}

void Window::paint()
{
    if (!renderTarget_) {
        RECT client;
        ::GetClientRect(hwnd_, &client);
        D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties(
            D2D1_RENDER_TARGET_TYPE_DEFAULT, D2D1::PixelFormat(), scale_ * 96.0f, scale_ * 96.0f);
        D2D1_HWND_RENDER_TARGET_PROPERTIES hwndProperties = D2D1::HwndRenderTargetProperties(
            hwnd_, D2D1::SizeU(static_cast<UINT32>(client.right - client.left),
                               static_cast<UINT32>(client.bottom - client.top)));
        if (FAILED(d2dFactory_->CreateHwndRenderTarget(properties, hwndProperties, renderTarget_.put()))) return;
    }
    {
        std::lock_guard<std::mutex> lock(progressLock_);
        state_.progressStep = sharedProgressStep_;
    }
    renderTarget_->BeginDraw();
    ComPtr<ID2D1SolidColorBrush> brush;
    if (SUCCEEDED(renderTarget_->CreateSolidColorBrush(D2D1::ColorF(1, 1, 1, 1), brush.put()))) {
        Painter painter{renderTarget_.get(), &fonts_, palette_, brush.get()};
        paintScreen(painter, state_, hover_, pressed_, hideFocus_ ? Target::None : focus_);
    } else {
        renderTarget_->Clear(toD2D(colourFromRgb(palette_.background)));
    }
    brush.reset();
    if (renderTarget_->EndDraw() == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
        // The device is gone: a new target is made at the next paint, which must come now, or the
        // window would stay stale until something else invalidates it.
        renderTarget_.reset();
        ::InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

void Window::onSize(LPARAM lParam)
{
    if (renderTarget_) renderTarget_->Resize(D2D1::SizeU(LOWORD(lParam), HIWORD(lParam)));
}

void Window::onClose()
{
    // Destroying the window beneath a system dialog would pull the dialog down with it.
    if (modal_) {
        closePending_ = true;
        return;
    }
    act({.kind = FlowEvent::Kind::Close});
}

bool Window::onSettingChange(WPARAM wParam, LPARAM lParam)
{
    const wchar_t* area = reinterpret_cast<const wchar_t*>(lParam);
    if (area && std::wcscmp(area, L"ImmersiveColorSet") == 0) {
        light_ = readLightTheme();
        applyTitleBarTheme(hwnd_, light_);
        followSystemColours();
        return true;
    }
    if (wParam == SPI_SETHIGHCONTRAST) {
        followSystemColours();
        return true;
    }
    if (wParam == SPI_SETWORKAREA) refitToMonitor();
    return false;
}

void Window::followSystemColours()
{
    palette_ = windowPalette(light_);
    ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void Window::refitToMonitor()
{
    RECT source;
    ::GetWindowRect(hwnd_, &source);
    HMONITOR monitor = ::MonitorFromRect(&source, MONITOR_DEFAULTTONEAREST);
    Placement place;
    if (!placementOn(monitor, monitorDpi(monitor), place)) return;
    scale_ = place.fit.scale;
    renderTarget_.reset(); // the next paint creates one at the new DPI
    int x = std::max(place.work.left, std::min(source.left, place.work.right - place.fit.width));
    int y = std::max(place.work.top, std::min(source.top, place.work.bottom - place.fit.height));
    ::SetWindowPos(hwnd_, nullptr, x, y, place.fit.width, place.fit.height, SWP_NOACTIVATE | SWP_NOZORDER);
    ::InvalidateRect(hwnd_, nullptr, FALSE);
}

bool Window::answerSizeForDpi(unsigned dpi, SIZE& size)
{
    // The system asks while the window is being dragged onto the monitor of that DPI, which by
    // then holds the larger part of it.
    Placement place;
    if (!placementOn(::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), dpi, place)) return false;
    size = {place.fit.width, place.fit.height};
    return true;
}

void Window::takeSuggestedRect(unsigned dpi, const RECT& suggested)
{
    // The system places the rectangle so that the window stays under the cursor that drags it,
    // with the size answered to WM_GETDPISCALEDSIZE: it is taken as it is, never pulled back
    // into the work area, or the window would jump away from the cursor.
    Placement place;
    if (!placementOn(::MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST), dpi, place)) return;
    scale_ = place.fit.scale;
    renderTarget_.reset(); // the next paint creates one at the new DPI, and lays the screen out again
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOACTIVATE | SWP_NOZORDER);
    ::InvalidateRect(hwnd_, nullptr, FALSE);
}

ExitCode runSetupWindow(const WindowParams& params)
{
    ComApartment com;
    Window window(params);
    return window.run();
}

} // namespace gls
