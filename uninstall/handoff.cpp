// The uninstaller's hand-off to its copy in the temporary folder, from both sides.
#include "handoff.h"

#include "core/args.h"
#include "core/copy_command_line.h"
#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "core/texts.h"
#include "platform/create_folders.h"
#include "platform/env.h"
#include "platform/file_io.h"
#include "platform/file_name_order.h"
#include "platform/log.h"
#include "platform/own_path.h"
#include "platform/start_outside_job.h"
#include "platform/system_error_text.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace gls {

namespace {

// How long a quiet uninstaller waits for its copy's result. The copy may give the app 15 s to
// close and then remove a large settings folder; a copy that dies breaks the pipe at once.
constexpr ULONGLONG kCopyResultWaitMs = 5 * 60 * 1000;

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
                // Any process that gets hold of the pipe can write into it: only a code the setup
                // defines is taken as one.
                if (std::optional<ExitCode> result = exitCodeOf(code)) return *result;
                logLine(L"the copy's result is no exit code of the setup");
                return ExitCode::Failed;
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
    std::wstring commandLine = copyCommandLine(copy, folder, number(parentOwner), number(resultWrite), spokenLanguage(),
                                               args);
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
        return std::nullopt;
    }
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    logLine(L"started %ls to remove %ls", copy.c_str(), folder.c_str());
    ::AllowSetForegroundWindow(pi.dwProcessId);
    if (!resultRead) return ExitCode::Done;
    // Only the copy may hold the write end, or a copy that dies would leave the pipe whole.
    resultWrite.reset();
    return awaitCopyResult(resultRead.get());
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
UniqueKernelHandle resultPipeOf(const Args& args)
{
    if (args.resultHandle == 0 || !args.silent) return {};
    HANDLE named = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(args.resultHandle));
    if (::GetFileType(named) != FILE_TYPE_PIPE) {
        logLine(L"/result=%llu names no pipe; the result is not reported", args.resultHandle);
        return {};
    }
    return UniqueKernelHandle(named);
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

bool isUninstallerName(const std::wstring& exePath) { return sameFileName(lastComponent(exePath), kUninstallerExe); }

} // namespace gls
