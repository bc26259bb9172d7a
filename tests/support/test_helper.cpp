// A helper process for the tests: holds files open the way other programs do.
//   gls_test_helper hold <file> <ms> <event>         opens the file without delete sharing, signals
//                                                    the named event, and holds it for that many
//                                                    milliseconds, or until it is ended when 0
//   gls_test_helper hold-shared <file> <ms> <event>  the same, sharing delete as well
//   gls_test_helper scan <folder> <ms> <event>       like an on-access virus scanner: opens every file
//                                                    made or renamed below the folder as soon as it
//                                                    can, sharing reading only, and holds each for
//                                                    that many milliseconds
#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

namespace {

bool signalReady(const wchar_t* eventName)
{
    HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName);
    return ready && ::SetEvent(ready);
}

int hold(const wchar_t* path, bool shared, DWORD ms, const wchar_t* eventName)
{
    DWORD sharing = FILE_SHARE_READ | (shared ? FILE_SHARE_DELETE | FILE_SHARE_WRITE : 0);
    HANDLE file = ::CreateFileW(path, GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 2;
    if (!signalReady(eventName)) return 3;
    ::Sleep(ms == 0 ? INFINITE : ms);
    ::CloseHandle(file);
    return 0;
}

struct Held {
    std::wstring path;
    HANDLE file = INVALID_HANDLE_VALUE;
    ULONGLONG until = 0; // when held: the time it is let go; when waiting to be opened: when to stop trying
};

bool sameText(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// One thread, one pass every few milliseconds: take the folder's news, open what waits to be
// opened, let go of what was held long enough. A file the setup still has open without sharing
// is tried again until it can be opened, as a scanner scans a file once its writer closes it.
int scan(const wchar_t* folder, DWORD ms, const wchar_t* eventName)
{
    HANDLE dir = ::CreateFileW(folder, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (dir == INVALID_HANDLE_VALUE) return 2;
    HANDLE news = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    alignas(DWORD) static unsigned char buffer[64 * 1024];
    OVERLAPPED overlapped = {};
    overlapped.hEvent = news;
    const DWORD filter = FILE_NOTIFY_CHANGE_FILE_NAME;
    auto listen = [&] {
        ::ResetEvent(news);
        return ::ReadDirectoryChangesW(dir, buffer, sizeof buffer, TRUE, filter, nullptr, &overlapped, nullptr) != FALSE;
    };
    if (!listen() || !signalReady(eventName)) return 3;

    std::vector<Held> waiting, held;
    for (;;) {
        if (::WaitForSingleObject(news, 5) == WAIT_OBJECT_0) {
            DWORD bytes = 0;
            if (::GetOverlappedResult(dir, &overlapped, &bytes, FALSE) && bytes > 0) {
                for (auto* info = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(buffer);;) {
                    if (info->Action == FILE_ACTION_ADDED || info->Action == FILE_ACTION_RENAMED_NEW_NAME) {
                        std::wstring path = std::wstring(folder) + L"\\" +
                                            std::wstring(info->FileName, info->FileNameLength / sizeof(wchar_t));
                        bool known = false;
                        for (const Held& h : held) known = known || sameText(h.path, path);
                        for (const Held& w : waiting) known = known || sameText(w.path, path);
                        if (!known) waiting.push_back({path, INVALID_HANDLE_VALUE, ::GetTickCount64() + 2000});
                    }
                    if (info->NextEntryOffset == 0) break;
                    info = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(reinterpret_cast<unsigned char*>(info) +
                                                                      info->NextEntryOffset);
                }
            }
            if (!listen()) return 4;
        }
        ULONGLONG now = ::GetTickCount64();
        for (auto it = waiting.begin(); it != waiting.end();) {
            DWORD attributes = ::GetFileAttributesW(it->path.c_str());
            bool file = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
            HANDLE h = file ? ::CreateFileW(it->path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr)
                            : INVALID_HANDLE_VALUE;
            if (h != INVALID_HANDLE_VALUE) {
                held.push_back({it->path, h, now + ms});
                it = waiting.erase(it);
            } else if (!file || now >= it->until) {
                it = waiting.erase(it);
            } else {
                ++it;
            }
        }
        for (auto it = held.begin(); it != held.end();) {
            if (now >= it->until) {
                ::CloseHandle(it->file);
                it = held.erase(it);
            } else {
                ++it;
            }
        }
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 5) return 1;
    DWORD ms = static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10));
    if (std::wcscmp(argv[1], L"hold") == 0) return hold(argv[2], false, ms, argv[4]);
    if (std::wcscmp(argv[1], L"hold-shared") == 0) return hold(argv[2], true, ms, argv[4]);
    if (std::wcscmp(argv[1], L"scan") == 0) return scan(argv[2], ms, argv[4]);
    return 1;
}
