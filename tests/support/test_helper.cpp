// A helper process for the tests: holds a file open the way another program would.
//   gls_test_helper hold <file> <event>         opens the file without delete sharing, signals
//                                               the named event, and waits until it is ended
//   gls_test_helper hold-shared <file> <event>  the same, sharing delete as well
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    bool shared = argc == 4 && std::wcscmp(argv[1], L"hold-shared") == 0;
    if (argc == 4 && (shared || std::wcscmp(argv[1], L"hold") == 0)) {
        DWORD sharing = FILE_SHARE_READ | (shared ? FILE_SHARE_DELETE | FILE_SHARE_WRITE : 0);
        HANDLE file = ::CreateFileW(argv[2], GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 2;
        HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
        if (!ready) return 3;
        ::SetEvent(ready);
        ::Sleep(INFINITE);
        return 0;
    }
    return 1;
}
