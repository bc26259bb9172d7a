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
#include "platform/file_identity.h"
#include "platform/file_io.h"
#include "platform/file_status.h"
#include "platform/file_name_order.h"
#include "platform/log.h"
#include "platform/message_box.h"
#include "platform/own_path.h"
#include "platform/start_outside_job.h"
#include "platform/system_error_text.h"
#include "platform/unique_handle.h"
#include "process/running_app.h"
#include "ui/setup_window.h"
#include "uninstall/uninstall_job.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace gls {

namespace {

// How long a quiet uninstaller waits for its copy's result. The copy may give the app 15 s to
// close and then remove a large settings folder; a copy that dies breaks the pipe at once.
constexpr ULONGLONG kCopyResultWaitMs = 5 * 60 * 1000;

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

// The pipe a quiet uninstaller's copy reports its exit code to. The number comes from the command
// line, where anyone can type one: only a handle of this process that is a pipe is written to, and
// only in a quiet run, the one whose starter waits for the result.
HANDLE resultPipeOf(const Args& args)
{
    if (args.resultHandle == 0 || !args.silent) return nullptr;
    HANDLE named = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(args.resultHandle));
    if (::GetFileType(named) != FILE_TYPE_PIPE) {
        logLine(L"/result=%llu names no pipe; the result is not reported", args.resultHandle);
        return nullptr;
    }
    return named;
}

// Hands the exit code to the uninstaller that started this copy, which exits with it.
void reportResult(UniqueKernelHandle& pipe, ExitCode result)
{
    if (!pipe) return;
    std::int32_t code = exitNumber(result);
    DWORD written = 0;
    if (!::WriteFile(pipe.get(), &code, sizeof code, &written, nullptr) || written != sizeof code) {
        logLine(L"could not report the result to the uninstaller that started this copy");
    }
    pipe.reset();
}

// Removes the app from this process. With inPlaceOfCopy this process is the installed
// "Uninstall.exe" itself, whose copy could not be made or started.
ExitCode removeHere(const Env& env, const Args& args, const std::wstring& folder, bool inPlaceOfCopy = false)
{
    // A copy that reports its result does its work while its starter still waits for it, and
    // waits for the starter only before it deletes the starter's file.
    UniqueKernelHandle pipe(resultPipeOf(args));
    bool reporting = static_cast<bool>(pipe);
    RunningUninstaller running = reporting       ? RunningUninstaller::Starter
                                 : inPlaceOfCopy ? RunningUninstaller::ThisProcess
                                                 : RunningUninstaller::None;
    if (args.parentHandle != 0 && !reporting) waitForParent(args.parentHandle);
    ::SetCurrentDirectoryW(env.tempDir.c_str());

    UniqueKernelHandle mutex(::CreateMutexW(nullptr, TRUE, env.mutexName.c_str()));
    if (!mutex || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        mutex.reset();
        ExitCode result = reportAlreadyRunning(env, args);
        reportResult(pipe, result);
        scheduleSelfDelete(env);
        return result;
    }
    if (env.startDelayMs != 0) ::Sleep(static_cast<DWORD>(env.startDelayMs));

    bool something = anythingToRemove(env, folder);
    ExitCode result = ExitCode::Done;
    UninstallResult removed;
    if (args.silent) {
        if (!something) {
            logLine(L"nothing to remove");
            result = ExitCode::Failed;
        } else if (findRunningApp(env, folder).running() &&
                   askAppToClose(env, folder, 15000) != CloseOutcome::Closed) {
            result = ExitCode::AppDidNotClose;
        } else {
            removed = removeInstallation(env, folder, args.removeSettings, [](float, const std::wstring&) {}, running);
            result = removed.ok ? ExitCode::Done : ExitCode::Failed;
        }
    } else {
        WindowParams params;
        params.env = &env;
        params.uninstalling = true;
        params.installFolder = folder;
        params.nothingInstalled = !something;
        params.runningUninstaller = running;
        params.placeAtPoint = args.uiAt;
        params.pointX = args.uiAtX;
        params.pointY = args.uiAtY;
        result = runSetupWindow(params);
        logLine(L"window closed: %d", exitNumber(result));
    }
    if (reporting) {
        reportResult(pipe, result);
        // The starter exits once it has the result; its file can go after that. The mutex is
        // still held, so that no install can put a new uninstaller there in the meantime.
        if (args.parentHandle != 0) waitForParent(args.parentHandle);
        removeLeftUninstaller(env, folder, removed);
    }
    ::ReleaseMutex(mutex.get());
    mutex.reset();
    scheduleSelfDelete(env);
    // Moved out of the install folder under a copy's name, this process's own file goes as a
    // copy's does, once this process has ended.
    std::wstring moved = joinPath(env.tempDir, uninstallCopyName(::GetCurrentProcessId()));
    if (inPlaceOfCopy && entryExists(moved)) scheduleDeletion(env, moved);
    return result;
}

// The folder of an uninstaller named "Uninstall.exe", when it is the installation to remove: it
// holds the app, or it is the registered folder. Elsewhere (the setup saved under that name in
// Downloads) the folder is the user's, and the registered installation is the one to remove.
// Spelt as the entry spells it when that is the same folder, so that the shortcuts, which point to
// that spelling, are recognised as the installation's.
std::wstring ownInstallFolder(const Env& env, const std::wstring& registered)
{
    std::wstring self = ownExePath();
    if (!isUninstallerName(self)) return {};
    std::wstring own = parentPath(self);
    if (env.testMode && !isInsideFolder(own, env.testRoot)) return {};
    if (!registered.empty() && sameFolderOnDisk(registered, own)) return registered;
    return appProgramInFolder(own) ? own : std::wstring();
}

// The program runs from inside the folder, in any spelling of either: an 8.3 short name, a link,
// another letter case. Decided by the identity of each folder the program file lies in.
bool runsFromInside(const std::wstring& program, const std::wstring& folder)
{
    if (isStrictlyInside(program, folder)) return true;
    for (std::wstring at = parentPath(program); !at.empty(); at = parentPath(at)) {
        if (sameFolderOnDisk(at, folder)) return true;
        if (parentPath(at) == at) break;
    }
    return false;
}

// Waits for the quiet copy's exit code. A copy that ends without one breaks the pipe, as this
// process holds no write end; one that hangs is given up on after a bounded wait.
ExitCode awaitCopyResult(HANDLE readEnd)
{
    ULONGLONG start = ::GetTickCount64();
    for (;;) {
        DWORD available = 0;
        if (!::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr)) {
            logLine(L"the copy ended without a result");
            return ExitCode::Failed;
        }
        std::int32_t code = 0;
        DWORD read = 0;
        if (available >= sizeof code) {
            if (::ReadFile(readEnd, &code, sizeof code, &read, nullptr) && read == sizeof code) {
                logLine(L"the copy's result: %d", code);
                return static_cast<ExitCode>(code);
            }
            logLine(L"the copy's result could not be read");
            return ExitCode::Failed;
        }
        if (::GetTickCount64() - start >= kCopyResultWaitMs) {
            logLine(L"no result from the copy in %llu ms", static_cast<unsigned long long>(kCopyResultWaitMs));
            return ExitCode::Failed;
        }
        ::Sleep(50);
    }
}

} // namespace

bool isStrictlyInside(const std::wstring& path, const std::wstring& folder)
{
    return isInsideFolder(path, folder) && !isInsideFolder(folder, path);
}

std::wstring copyCommandLine(const std::wstring& copyPath, const std::wstring& folder, unsigned long long parentHandle,
                             unsigned long long resultHandle, const Args& args)
{
    // A backslash right before the closing quote would escape it, and the folder would swallow
    // the switches after it: trailing separators go, and a bare root's one is doubled.
    std::wstring from = folder;
    while (from.size() > rootLength(from) && (from.back() == L'\\' || from.back() == L'/')) from.pop_back();
    if (!from.empty() && from.back() == L'\\') from += L'\\';
    std::wstring line = L"\"" + copyPath + L"\" /uninstall \"/from=" + from + L"\" /parent=" +
                        std::to_wstring(parentHandle);
    if (resultHandle != 0) line += L" /result=" + std::to_wstring(resultHandle);
    if (args.silent) line += L" /S";
    if (args.removeSettings) line += L" /RemoveSettings";
    if (args.uiAt) line += L" --ui-at " + std::to_wstring(args.uiAtX) + L"," + std::to_wstring(args.uiAtY);
    return line;
}

std::optional<ExitCode> relaunchFromTemp(const Env& env, const Args& args, const std::wstring& folder)
{
    createFolders(env.tempDir);
    std::wstring copy = joinPath(env.tempDir, uninstallCopyName(::GetCurrentProcessId()));
    if (!copyFile(ownExePath(), copy)) {
        logLine(L"Setup could not copy itself to the temp folder: %ls.", systemErrorText(::GetLastError()).c_str());
        return std::nullopt;
    }

    // An inheritable handle of this process for the copy to wait on; the copy checks that it is one
    // to a process before it waits, hence the query right. The copy gets a handle of its own when it
    // starts, so this one is closed on return.
    UniqueKernelHandle parentOwner;
    ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), parentOwner.put(),
                      SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0);
    std::vector<HANDLE> inherited = {parentOwner.get()};

    // A quiet uninstall reports the copy's result, not just its start: the copy writes its exit code
    // into a pipe whose write end only it holds.
    UniqueKernelHandle resultRead, resultWrite;
    if (args.silent && ::CreatePipe(resultRead.put(), resultWrite.put(), nullptr, 0) &&
        ::SetHandleInformation(resultWrite.get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) {
        inherited.push_back(resultWrite.get());
    } else {
        resultRead.reset();
        resultWrite.reset();
    }

    // The copy inherits these handles and no other.
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<unsigned char> storage(size);
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    bool listed = size > 0 && ::InitializeProcThreadAttributeList(attributes, 1, 0, &size) &&
                  ::UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited.data(),
                                              inherited.size() * sizeof(HANDLE), nullptr, nullptr);
    if (!listed) {
        resultRead.reset();
        resultWrite.reset();
    }
    auto number = [](const UniqueKernelHandle& h) {
        return static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h.get()));
    };
    std::wstring commandLine = copyCommandLine(copy, folder, number(parentOwner), number(resultWrite), args);
    STARTUPINFOEXW si = {};
    si.StartupInfo.cb = sizeof(si);
    si.lpAttributeList = listed ? attributes : nullptr;
    PROCESS_INFORMATION pi = {};
    bool started = startOutsideJob(copy.c_str(), commandLine.data(), listed, EXTENDED_STARTUPINFO_PRESENT,
                                   env.tempDir.c_str(), &si.StartupInfo, &pi);
    DWORD error = ::GetLastError();
    if (listed) ::DeleteProcThreadAttributeList(attributes);
    if (!started) {
        logLine(L"Setup could not start its copy in the temp folder: %ls.", systemErrorText(error).c_str());
        (void)deleteFile(copy);
        return ExitCode::Failed;
    }
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    logLine(L"started %ls to remove %ls", copy.c_str(), folder.c_str());
    ::AllowSetForegroundWindow(pi.dwProcessId);
    if (!resultRead) return ExitCode::Done;
    // Only the copy may hold the write end, or a copy that dies would leave the pipe whole.
    resultWrite.reset();
    return awaitCopyResult(resultRead.get());
}

void scheduleDeletion(const Env& env, const std::wstring& path)
{
    std::wstring name = lastComponent(path);
    size_t prefix = std::wstring(kUninstallCopyPrefix).size();
    if (!isStrictlyInside(path, env.tempDir) || name.size() < prefix ||
        ::CompareStringOrdinal(name.c_str(), static_cast<int>(prefix), kUninstallCopyPrefix, static_cast<int>(prefix),
                               TRUE) != CSTR_EQUAL) {
        return;
    }
    // The interpreter would expand "%NAME%" anywhere on its command line, and a user name may hold
    // a percent sign: the copy is deleted by its bare name from its own folder, the current one.
    if (name.find_first_of(L"%\"") != std::wstring::npos) return;
    wchar_t system[260];
    UINT length = ::GetSystemDirectoryW(system, 260);
    if (length == 0 || length >= 260) return;
    std::wstring cmd = std::wstring(system, length) + L"\\cmd.exe";
    std::wstring commandLine = L"\"" + cmd + L"\" /d /c ping -n 3 127.0.0.1 > nul & del /f /q \"" + name + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (startOutsideJob(cmd.c_str(), commandLine.data(), false, CREATE_NO_WINDOW, parentPath(path).c_str(), &si, &pi)) {
        UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    }
}

void scheduleSelfDelete(const Env& env) { scheduleDeletion(env, ownExePath()); }

ExitCode doUninstall(const Env& env, const Args& args)
{
    std::wstring folder;
    if (args.fromGiven) {
        // Only a whole path: joined to an empty or relative one, the app's names would address
        // the current directory.
        if (!isFolderBelowRoot(args.from)) {
            logLine(L"/from=%ls: not a whole folder path", args.from.c_str());
            return ExitCode::StartedWrongly;
        }
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
        std::wstring own = ownInstallFolder(env, folder);
        if (!own.empty()) folder = own;
    }

    bool relaunch = !args.fromGiven && !folder.empty() && runsFromInside(ownExePath(), folder);
    if (relaunch) {
        UniqueKernelHandle other(::OpenMutexW(SYNCHRONIZE, FALSE, env.mutexName.c_str()));
        if (other) {
            other.reset();
            return reportAlreadyRunning(env, args);
        }
        if (std::optional<ExitCode> started = relaunchFromTemp(env, args, folder)) return *started;
        // A policy may forbid programs in the temporary folder, or the folder may be full or
        // read-only: the app is removed all the same, by this process.
        logLine(L"removing Glimmerline without a copy; %ls stays in use until this uninstaller ends",
                ownExePath().c_str());
        return removeHere(env, args, folder, true);
    }
    return removeHere(env, args, folder);
}

bool isUninstallerName(const std::wstring& exePath)
{
    return sameFileName(lastComponent(exePath), kUninstallerExe);
}

} // namespace gls
