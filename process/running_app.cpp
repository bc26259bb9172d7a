// Finding, closing and ending the running app.
#include "running_app.h"

#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "platform/env.h"
#include "platform/log.h"
#include "platform/unique_handle.h"

#include <tlhelp32.h>

#include <algorithm>
#include <set>

namespace gls {

namespace {

struct Search {
    const Env* env;
    RunningApp* found;
};

void addProcess(RunningApp& app, std::uint32_t pid)
{
    if (std::find(app.processIds.begin(), app.processIds.end(), pid) == app.processIds.end()) {
        app.processIds.push_back(pid);
    }
}

BOOL CALLBACK visitWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t className[128] = {};
    int length = ::GetClassNameW(window, className, 128);
    if (length <= 0 || search->env->appWindowClass != std::wstring(className, static_cast<size_t>(length))) return TRUE;
    search->found->windows.push_back(window);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != 0) addProcess(*search->found, pid);
    return TRUE;
}

} // namespace

RunningApp findRunningApp(const Env& env, const std::wstring& installFolder)
{
    RunningApp app;
    Search search{&env, &app};
    ::EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
    if (installFolder.empty()) return app;

    std::wstring expected = joinPath(installFolder, kAppExe);
    // The snapshot's invalid value is INVALID_HANDLE_VALUE, like a file's.
    UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return app;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
        if (::CompareStringOrdinal(entry.szExeFile, -1, kAppExe, -1, TRUE) != CSTR_EQUAL) continue;
        UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        if (!process) continue;
        wchar_t image[520];
        DWORD size = 520;
        if (!::QueryFullProcessImageNameW(process.get(), 0, image, &size)) continue;
        if (samePath(std::wstring(image, size), expected)) addProcess(app, entry.th32ProcessID);
    }
    return app;
}

bool askAppToClose(const Env& env, const std::wstring& installFolder, std::uint32_t budgetMs)
{
    ULONGLONG start = ::GetTickCount64();
    std::set<HWND> asked;
    for (;;) {
        RunningApp app = findRunningApp(env, installFolder);
        if (!app.running()) return true;
        for (HWND window : app.windows) {
            // Asked once per call, and never again even when it stays.
            if (!asked.insert(window).second) continue;
            logLine(L"asked a Glimmerline window to close");
            ::PostMessageW(window, WM_CLOSE, 0, 0);
        }
        if (::GetTickCount64() >= start + budgetMs) {
            logLine(L"Glimmerline did not close in %lu ms", static_cast<unsigned long>(budgetMs));
            return false;
        }
        ::Sleep(100);
    }
}

bool endApp(const Env& env, const std::wstring& installFolder)
{
    bool allEnded = true;
    for (std::uint32_t pid : findRunningApp(env, installFolder).processIds) {
        UniqueKernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
        if (!process) {
            allEnded = false;
            continue;
        }
        logLine(L"ended Glimmerline (pid %lu), as the user asked", static_cast<unsigned long>(pid));
        bool ended = ::TerminateProcess(process.get(), 1) &&
                     ::WaitForSingleObject(process.get(), 5000) == WAIT_OBJECT_0;
        allEnded = allEnded && ended;
    }
    if (!allEnded) return false;
    return !findRunningApp(env, installFolder).running();
}

bool waitForQuit(std::uint32_t processId, std::uint32_t limitMs)
{
    // The setup itself never quits while it waits: its own id counts as gone.
    if (processId == 0 || processId == ::GetCurrentProcessId()) return true;
    UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process) return true;
    ULONGLONG start = ::GetTickCount64();
    bool quit = ::WaitForSingleObject(process.get(), limitMs) == WAIT_OBJECT_0;
    unsigned long long elapsed = ::GetTickCount64() - start;
    logLine(quit ? L"Glimmerline (pid %lu) quit after %llu ms" : L"Glimmerline (pid %lu) still runs after %llu ms",
            static_cast<unsigned long>(processId), elapsed);
    return quit;
}

} // namespace gls
