// The uninstall run.
#include "uninstall_run.h"

#include "core/args.h"
#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "install/app_in_folder.h"
#include "install/apps_entry.h"
#include "install/existing_install.h"
#include "install/install_folder.h"
#include "install_run.h"
#include "platform/create_folders.h"
#include "platform/env.h"
#include "platform/log.h"
#include "platform/message_box.h"
#include "platform/own_path.h"
#include "platform/system_error_text.h"
#include "platform/unique_handle.h"
#include "process/running_app.h"
#include "ui/setup_window.h"
#include "uninstall/uninstall_job.h"

#include <windows.h>

#include <vector>

namespace gls {

namespace {

bool anythingToRemove(const Env& env, const std::wstring& folder)
{
    if (folder.empty()) return false;
    return appInFolder(folder) || readAppsEntry(env, kInstallLocation).has_value();
}

// Waits for the process that started this copy. The number comes from the command line, where
// anyone can type one: only a handle to another process is waited for and closed. A pseudo-handle
// of this process or thread, or a handle to some other object this process holds, would make the
// wait last its whole time, and closing it would break whatever owns it.
void waitForParent(unsigned long long value)
{
    HANDLE named = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value));
    DWORD pid = ::GetProcessId(named);
    if (pid == 0 || pid == ::GetCurrentProcessId()) {
        logLine(L"/parent=%llu names no other process; not waiting for it", value);
        return;
    }
    UniqueKernelHandle parent(named);
    // Whether the wait ends by exit or time-out does not matter.
    ::WaitForSingleObject(parent.get(), 30000);
}

ExitCode removeHere(const Env& env, const Args& args, const std::wstring& folder)
{
    if (args.parentHandle != 0) waitForParent(args.parentHandle);
    ::SetCurrentDirectoryW(env.tempDir.c_str());

    UniqueKernelHandle mutex(::CreateMutexW(nullptr, TRUE, env.mutexName.c_str()));
    if (!mutex || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        mutex.reset();
        ExitCode result = reportAlreadyRunning(env, args);
        scheduleSelfDelete(env);
        return result;
    }
    if (env.startDelayMs != 0) ::Sleep(static_cast<DWORD>(env.startDelayMs));

    bool something = anythingToRemove(env, folder);
    ExitCode result = ExitCode::Done;
    if (args.silent) {
        if (!something) {
            logLine(L"nothing to remove");
            result = ExitCode::Failed;
        } else if (findRunningApp(env, folder).running() && !askAppToClose(env, folder, 15000)) {
            result = ExitCode::AppDidNotClose;
        } else {
            UninstallResult removed =
                removeInstallation(env, folder, args.removeSettings, [](float, const std::wstring&) {});
            result = removed.ok ? ExitCode::Done : ExitCode::Failed;
        }
    } else {
        WindowParams params;
        params.env = &env;
        params.uninstalling = true;
        params.installFolder = folder;
        params.nothingInstalled = !something;
        params.placeAtPoint = args.uiAt;
        params.pointX = args.uiAtX;
        params.pointY = args.uiAtY;
        result = runSetupWindow(params);
        logLine(L"window closed: %d", exitNumber(result));
    }
    ::ReleaseMutex(mutex.get());
    mutex.reset();
    scheduleSelfDelete(env);
    return result;
}

} // namespace

bool isStrictlyInside(const std::wstring& path, const std::wstring& folder)
{
    return isInsideFolder(path, folder) && !isInsideFolder(folder, path);
}

void showNotice(const Env& env, const Args& args, const std::wstring& text)
{
    logLine(L"%ls", text.c_str());
    if (!args.silent && !env.testMode) showMessage(text.c_str(), MB_ICONINFORMATION);
}

std::wstring copyCommandLine(const std::wstring& copyPath, const std::wstring& folder, unsigned long long parentHandle,
                             const Args& args)
{
    std::wstring line = L"\"" + copyPath + L"\" /uninstall \"/from=" + folder + L"\" /parent=" +
                        std::to_wstring(parentHandle);
    if (args.silent) line += L" /S";
    if (args.removeSettings) line += L" /RemoveSettings";
    if (args.uiAt) line += L" --ui-at " + std::to_wstring(args.uiAtX) + L"," + std::to_wstring(args.uiAtY);
    return line;
}

ExitCode relaunchFromTemp(const Env& env, const Args& args, const std::wstring& folder)
{
    createFolders(env.tempDir);
    std::wstring copy = joinPath(env.tempDir,
                                 kUninstallCopyPrefix + std::to_wstring(::GetCurrentProcessId()) + L".exe");
    if (!::CopyFileW(ownExePath().c_str(), copy.c_str(), FALSE)) {
        showNotice(env, args,
                   L"Setup could not copy itself to the temp folder: " + systemErrorText(::GetLastError()) + L".");
        return ExitCode::Failed;
    }

    // An inheritable handle of this process for the copy to wait on; the copy checks that it is one
    // to a process before it waits, hence the query right. The copy gets a handle of its own when it
    // starts, so this one is closed on return.
    UniqueKernelHandle parentOwner;
    ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), parentOwner.put(),
                      SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0);
    HANDLE parent = parentOwner.get();
    std::wstring commandLine =
        copyCommandLine(copy, folder, static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(parent)), args);

    // The copy inherits this one handle and no other.
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<unsigned char> storage(size);
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    bool listed = size > 0 && ::InitializeProcThreadAttributeList(attributes, 1, 0, &size) &&
                  ::UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &parent, sizeof(parent),
                                              nullptr, nullptr);
    STARTUPINFOEXW si = {};
    si.StartupInfo.cb = sizeof(si);
    si.lpAttributeList = listed ? attributes : nullptr;
    PROCESS_INFORMATION pi = {};
    BOOL started = ::CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, listed ? TRUE : FALSE,
                                    EXTENDED_STARTUPINFO_PRESENT, nullptr, env.tempDir.c_str(), &si.StartupInfo, &pi);
    DWORD error = ::GetLastError();
    if (listed) ::DeleteProcThreadAttributeList(attributes);
    if (!started) {
        showNotice(env, args, L"Setup could not start its copy in the temp folder: " + systemErrorText(error) + L".");
        ::DeleteFileW(copy.c_str());
        return ExitCode::Failed;
    }
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    logLine(L"started %ls to remove %ls", copy.c_str(), folder.c_str());
    ::AllowSetForegroundWindow(pi.dwProcessId);
    return ExitCode::Done;
}

void scheduleSelfDelete(const Env& env)
{
    std::wstring self = ownExePath();
    std::wstring name = lastComponent(self);
    size_t prefix = std::wstring(kUninstallCopyPrefix).size();
    if (!isStrictlyInside(self, env.tempDir) || name.size() < prefix ||
        ::CompareStringOrdinal(name.c_str(), static_cast<int>(prefix), kUninstallCopyPrefix, static_cast<int>(prefix),
                               TRUE) != CSTR_EQUAL) {
        return;
    }
    wchar_t system[260];
    UINT length = ::GetSystemDirectoryW(system, 260);
    if (length == 0 || length >= 260) return;
    std::wstring cmd = std::wstring(system, length) + L"\\cmd.exe";
    std::wstring commandLine =
        L"\"" + cmd + L"\" /d /c ping -n 3 127.0.0.1 > nul & del /f /q \"" + self + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (::CreateProcessW(cmd.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                         env.tempDir.c_str(), &si, &pi)) {
        UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    }
}

ExitCode doUninstall(const Env& env, const Args& args)
{
    std::wstring folder;
    if (!args.from.empty()) {
        folder = args.from;
    } else if (args.installDirGiven) {
        Checked<std::wstring> checked = checkInstallFolder(env, args.installDir);
        if (!checked.ok()) {
            logLine(L"/D=%ls: %ls", args.installDir.c_str(), checked.problem.c_str());
            return ExitCode::StartedWrongly;
        }
        folder = checked.value;
    } else {
        folder = registeredInstallFolder(env);
    }

    bool relaunch = args.from.empty() && !folder.empty() && isStrictlyInside(ownExePath(), folder);
    if (relaunch) {
        UniqueKernelHandle other(::OpenMutexW(SYNCHRONIZE, FALSE, env.mutexName.c_str()));
        if (other) {
            other.reset();
            return reportAlreadyRunning(env, args);
        }
        return relaunchFromTemp(env, args, folder);
    }
    return removeHere(env, args, folder);
}

} // namespace gls
