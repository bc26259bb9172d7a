// Finding, closing and ending the running app.
#include "running_app.h"

#include "core/close_refusal.h"
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

Reach reachOf(bool succeeded, DWORD error)
{
    if (succeeded) return Reach::Reached;
    return error == ERROR_ACCESS_DENIED ? Reach::RefusedForRights : Reach::Failed;
}

// The calls below are where an app started as administrator refuses this setup. In test mode an
// app that acts as one refuses them as the system would, with ERROR_ACCESS_DENIED.
bool postCloseRequest(const Env& env, HWND window)
{
    if (env.appActsAsAdmin) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return ::PostMessageW(window, WM_CLOSE, 0, 0) != FALSE;
}

UniqueKernelHandle openAppProcess(const Env& env, std::uint32_t pid, DWORD access)
{
    if (env.appActsAsAdmin) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return {};
    }
    return UniqueKernelHandle(::OpenProcess(access, FALSE, pid));
}

// Posts the close request to a window and, when the system refuses it for lack of rights, tries
// to open the window's process to end it.
AskedWindow askWindowToClose(const Env& env, HWND window)
{
    AskedWindow asked;
    bool posted = postCloseRequest(env, window);
    asked.request = reachOf(posted, ::GetLastError());
    if (asked.request != Reach::RefusedForRights) return asked;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == 0) {
        asked.process = Reach::Failed;
        return asked;
    }
    UniqueKernelHandle process = openAppProcess(env, pid, PROCESS_TERMINATE);
    bool opened = static_cast<bool>(process);
    asked.process = reachOf(opened, ::GetLastError());
    return asked;
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

std::uint32_t appCloseBudgetMs(const Env& env, bool updateRun)
{
    if (env.closeTimeoutMs != 0) return static_cast<std::uint32_t>(env.closeTimeoutMs);
    return updateRun ? 60000 : 15000;
}

CloseOutcome askAppToClose(const Env& env, const std::wstring& installFolder, std::uint32_t budgetMs)
{
    ULONGLONG start = ::GetTickCount64();
    std::set<HWND> asked;
    std::vector<AskedWindow> answers;
    for (;;) {
        RunningApp app = findRunningApp(env, installFolder);
        if (!app.running()) return CloseOutcome::Closed;
        for (HWND window : app.windows) {
            // Asked once per call, and never again even when it stays.
            if (!asked.insert(window).second) continue;
            logLine(L"asked a Glimmerline window to close");
            answers.push_back(askWindowToClose(env, window));
        }
        if (refusedForRights(answers)) {
            logLine(L"Glimmerline runs as administrator: Windows lets Setup neither ask it to close nor end it");
            return CloseOutcome::RefusedForRights;
        }
        if (::GetTickCount64() >= start + budgetMs) {
            logLine(L"Glimmerline did not close in %lu ms", static_cast<unsigned long>(budgetMs));
            return CloseOutcome::OutOfTime;
        }
        ::Sleep(100);
    }
}

bool endApp(const Env& env, const std::wstring& installFolder)
{
    bool allEnded = true;
    for (std::uint32_t pid : findRunningApp(env, installFolder).processIds) {
        UniqueKernelHandle process = openAppProcess(env, pid, PROCESS_TERMINATE | SYNCHRONIZE);
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
