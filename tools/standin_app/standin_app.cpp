// A stand-in for the Glimmerline app: a real GUI process that the setup can find, ask to close,
// wait for and end. Its top-level window has the app's class, "GlimmerlineMain", or
// "GlimmerlineSetupTestApp" when GLIMMERLINE_SETUP_TEST is set.
//   --ignore-close   the window ignores WM_CLOSE, like an app with a question open
//   --no-window      no window at all; the process runs until it is ended
//   --class=NAME     the window's class, so that tests running side by side do not meet
#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

bool g_ignoreClose = false;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        if (g_ignoreClose) return 0;
        ::DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

// The value of "--name=value", or of "--name" alone (then empty); null when absent.
const wchar_t* findSwitch(const wchar_t* name, std::wstring& value)
{
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    const wchar_t* found = nullptr;
    size_t n = std::wcslen(name);
    for (int i = 1; args && i < count; ++i) {
        if (std::wcsncmp(args[i], name, n) == 0 && (args[i][n] == L'\0' || args[i][n] == L'=')) {
            value = args[i][n] == L'=' ? args[i] + n + 1 : L"";
            found = name;
        }
    }
    ::LocalFree(args);
    return found;
}

bool hasSwitch(const wchar_t* name)
{
    std::wstring ignored;
    return findSwitch(name, ignored) != nullptr;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    g_ignoreClose = hasSwitch(L"--ignore-close");
    if (hasSwitch(L"--no-window")) {
        ::Sleep(INFINITE);
        return 0;
    }

    wchar_t testFolder[8];
    bool testMode = ::GetEnvironmentVariableW(L"GLIMMERLINE_SETUP_TEST", testFolder, 8) > 0;
    std::wstring className = testMode ? L"GlimmerlineSetupTestApp" : L"GlimmerlineMain";
    std::wstring chosen;
    if (findSwitch(L"--class", chosen) && !chosen.empty()) className = chosen;

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className.c_str();
    if (!::RegisterClassExW(&wc)) return 1;

    HWND window = ::CreateWindowExW(0, className.c_str(), L"Glimmerline", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                    480, 320, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ::ShowWindow(window, SW_SHOWNOACTIVATE);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
