// Asks a top-level window of a class to close, as the title bar's close button would.
// Usage: gls_post_close <window class>
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gls_post_close <window class>\n");
        return 2;
    }
    HWND window = ::FindWindowW(argv[1], nullptr);
    if (!window) return 1;
    return ::PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
}
