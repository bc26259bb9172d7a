// A message hook that a test puts on the setup window's thread: it swallows the worker's done
// message (WM_APP + 2), as a full message queue would refuse to take it, and signals the named
// event "GlsTestDoneSwallowed" so that the test knows the message was really lost.
#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK swallowDone(int code, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_APP + 2) {
        msg->message = WM_NULL;
        if (HANDLE swallowed = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, L"GlsTestDoneSwallowed")) {
            ::SetEvent(swallowed);
            ::CloseHandle(swallowed);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
