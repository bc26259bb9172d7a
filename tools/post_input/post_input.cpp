// Sends input to a top-level window of a class, as a user would: a key, or the close button.
// Usage: gls_post_input <window class> close|enter|escape|space
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: gls_post_input <window class> close|enter|escape|space\n");
        return 2;
    }
    HWND window = ::FindWindowW(argv[1], nullptr);
    if (!window) return 1;
    const wchar_t* what = argv[2];
    if (std::wcscmp(what, L"close") == 0) return ::PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    WPARAM key = std::wcscmp(what, L"enter") == 0    ? VK_RETURN
                 : std::wcscmp(what, L"escape") == 0 ? VK_ESCAPE
                 : std::wcscmp(what, L"space") == 0  ? VK_SPACE
                                                     : 0;
    if (key == 0) return 2;
    return ::PostMessageW(window, WM_KEYDOWN, key, 0) ? 0 : 1;
}
