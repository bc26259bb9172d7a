// Monitor DPI and frame size. The per-monitor calls are looked up once per process, so that the
// program still starts where they are missing.
#include "monitor_dpi.h"

#include "platform/system_library.h"
#include "platform/unique_handle.h"

#include <mutex>

namespace gls {

namespace {

using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

GetDpiForMonitorFn getDpiForMonitor()
{
    static const GetDpiForMonitorFn fn = systemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    return fn;
}

AdjustWindowRectExForDpiFn adjustForDpi()
{
    static std::once_flag once;
    static AdjustWindowRectExForDpiFn fn = nullptr;
    std::call_once(once, [] {
        HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
        if (user32) {
            fn = reinterpret_cast<AdjustWindowRectExForDpiFn>(
                reinterpret_cast<void*>(::GetProcAddress(user32, "AdjustWindowRectExForDpi")));
        }
    });
    return fn;
}

} // namespace

unsigned monitorDpi(HMONITOR monitor)
{
    UINT dpiX = 0, dpiY = 0;
    if (GetDpiForMonitorFn fn = getDpiForMonitor(); fn && SUCCEEDED(fn(monitor, 0 /* effective */, &dpiX, &dpiY))) {
        return dpiX;
    }
    UniqueScreenDc screen(::GetDC(nullptr));
    int logical = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return logical > 0 ? static_cast<unsigned>(logical) : 96;
}

SIZE frameForDpi(unsigned dpi)
{
    RECT frame = {0, 0, 0, 0};
    if (AdjustWindowRectExForDpiFn fn = adjustForDpi()) {
        fn(&frame, kSetupWindowStyle, FALSE, 0, dpi);
    } else {
        ::AdjustWindowRectEx(&frame, kSetupWindowStyle, FALSE, 0);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}

} // namespace gls
