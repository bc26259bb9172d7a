// A helper process for the tests: holds a file open the way another program would.
//   gls_test_helper hold <file> <event>   opens the file without delete sharing, signals the
//                                         named event, and waits until it is ended
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc == 4 && std::wcscmp(argv[1], L"hold") == 0) {
        HANDLE file = ::CreateFileW(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 2;
        HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
        if (!ready) return 3;
        ::SetEvent(ready);
        ::Sleep(INFINITE);
        return 0;
    }
    return 1;
}
