// Helpers shared by the test programs.
#include "test_support.h"

#include "core/version.h"
#include "platform/file_waits.h"
#include "platform/shell_link.h"
#include "platform/text.h"
#include "platform/tree_walk.h"
#include "platform/unique_handle.h"
#include "product_names.h"

#include <gtest/gtest.h>

#include <winioctl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace gls::test {

std::wstring buildDir()
{
    std::wstring self(32768, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    return fs::path(self).parent_path().parent_path().wstring();
}

std::wstring setupExePath() { return (fs::path(buildDir()) / kSetupExe).wstring(); }

TestFolder::TestFolder()
{
    static std::atomic<int> counter{0};
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "outside";
    for (char& c : name) {
        if (c == '/' || c == '\\' || c == ':') c = '_';
    }
    path_ = L"C:\\gls-tests\\" + widen(name) + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++);
    std::error_code ec;
    fs::remove_all(path_, ec);
    fs::create_directories(path_, ec);
}

std::vector<PROCESSENTRY32W> processes()
{
    std::vector<PROCESSENTRY32W> all;
    UniqueKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    if (!snapshot.get() || snapshot.get() == INVALID_HANDLE_VALUE || !::Process32FirstW(snapshot.get(), &entry)) {
        return all;
    }
    do {
        all.push_back(entry);
    } while (::Process32NextW(snapshot.get(), &entry));
    return all;
}

void endProcessById(DWORD pid, UINT code)
{
    UniqueKernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (!process.get()) return;
    ::TerminateProcess(process.get(), code);
    ::WaitForSingleObject(process.get(), 30000);
}

std::vector<DWORD> commandInterpreters()
{
    std::vector<DWORD> found;
    for (const PROCESSENTRY32W& p : processes()) {
        if (_wcsicmp(p.szExeFile, L"cmd.exe") == 0) found.push_back(p.th32ProcessID);
    }
    return found;
}

void settleCommandInterpreters(const std::vector<DWORD>& before)
{
    ULONGLONG start = ::GetTickCount64();
    for (;;) {
        std::vector<DWORD> started;
        for (DWORD pid : commandInterpreters()) {
            if (std::find(before.begin(), before.end(), pid) == before.end()) started.push_back(pid);
        }
        if (started.empty()) return;
        if (::GetTickCount64() - start >= 10000) {
            for (DWORD pid : started) endProcessById(pid, 1);
            return;
        }
        ::Sleep(50);
    }
}

TestFolder::~TestFolder()
{
    settleCommandInterpreters(interpretersBefore_);
    if (keep_ || ::testing::Test::HasFailure()) return; // kept for a look at what went wrong
    // The library's remove_all walks into links to folders here; links go first, as links.
    for (const TreeEntry& e : walkTree(path_)) {
        if (e.isLink && e.isFolder) removeFolderLink(e.path);
    }
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::wstring TestFolder::operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

namespace {

bool sameName(const std::wstring& entry, const std::wstring& name)
{
    if (entry.size() <= name.size() || entry[name.size()] != L'=') return false;
    for (size_t i = 0; i < name.size(); ++i) {
        if (std::towupper(entry[i]) != std::towupper(name[i])) return false;
    }
    return true;
}

std::vector<wchar_t> environmentBlock(const EnvOverrides& overrides)
{
    std::vector<std::wstring> entries;
    LPWCH block = ::GetEnvironmentStringsW();
    for (const wchar_t* p = block; p && *p; p += wcslen(p) + 1) entries.emplace_back(p);
    ::FreeEnvironmentStringsW(block);

    for (const auto& [name, value] : overrides) {
        std::erase_if(entries, [&](const std::wstring& e) { return sameName(e, name); });
        if (!value.empty()) entries.push_back(name + L"=" + value);
    }
    std::vector<wchar_t> out;
    for (const std::wstring& e : entries) {
        out.insert(out.end(), e.begin(), e.end());
        out.push_back(L'\0');
    }
    out.push_back(L'\0');
    return out;
}

} // namespace

// Starts a program with the overridden environment; the process handle, or null.
HANDLE startProgram(const std::wstring& exe, const std::wstring& args, const EnvOverrides& overrides, DWORD* pid,
                    HANDLE job)
{
    std::wstring commandLine = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
    std::vector<wchar_t> env = environmentBlock(overrides);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    // Under Wine a start now and then fails while the wineserver is busy with another test's
    // processes; a second try starts it. The cause is printed, so that a real one shows.
    for (int attempt = 1;; ++attempt) {
        if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                             CREATE_UNICODE_ENVIRONMENT | (job ? CREATE_SUSPENDED : 0), env.data(), nullptr, &si,
                             &pi)) {
            break;
        }
        std::fprintf(stderr, "could not start %ls (attempt %d): error %lu\n", exe.c_str(), attempt, ::GetLastError());
        if (attempt == 3) return nullptr;
        ::Sleep(200);
    }
    if (job && !::AssignProcessToJobObject(job, pi.hProcess)) {
        std::fprintf(stderr, "could not put %ls in the job: error %lu\n", exe.c_str(), ::GetLastError());
        ::TerminateProcess(pi.hProcess, 99);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
        return nullptr;
    }
    if (job) ::ResumeThread(pi.hThread);
    ::CloseHandle(pi.hThread);
    if (pid) *pid = pi.dwProcessId;
    return pi.hProcess;
}

UniqueKernelHandle makeKillOnCloseJob(bool breakawayOk)
{
    UniqueKernelHandle job(::CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE |
                                              (breakawayOk ? JOB_OBJECT_LIMIT_BREAKAWAY_OK : 0);
    if (!job || !::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        return {};
    }
    return job;
}

void endProcess(UniqueKernelHandle& process)
{
    if (!process) return;
    ::TerminateProcess(process.get(), 0);
    ::WaitForSingleObject(process.get(), 5000);
    process.reset();
}

ProcessResult runProgram(const std::wstring& exe, const std::wstring& args, const EnvOverrides& overrides,
                         DWORD timeoutMs)
{
    ProcessResult result;
    UniqueKernelHandle process(startProgram(exe, args, overrides, nullptr));
    if (!process) return result;
    result.started = true;
    if (::WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 99);
        ::WaitForSingleObject(process.get(), 5000);
        return result;
    }
    result.finished = true;
    ::GetExitCodeProcess(process.get(), &result.exitCode);
    return result;
}

ProcessResult runSetup(const std::wstring& exe, const std::wstring& testFolder, const std::wstring& args,
                       EnvOverrides extra)
{
    extra.insert(extra.begin(), {L"GLIMMERLINE_SETUP_TEST", testFolder});
    return runProgram(exe, args, extra);
}

std::string readFile(const std::wstring& path)
{
    std::ifstream in(fs::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeFile(const std::wstring& path, const std::string& bytes)
{
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    std::ofstream out(fs::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool exists(const std::wstring& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(fs::path(path), ec));
}

std::vector<std::string> logLines(const std::wstring& testFolder)
{
    std::string text = readFile(testFolder + L"\\" + kTestLog);
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find("\r\n", begin);
        if (end == std::string::npos) {
            lines.push_back(text.substr(begin));
            break;
        }
        lines.push_back(text.substr(begin, end - begin));
        begin = end + 2;
    }
    return lines;
}

std::string narrow(const std::wstring& text) { return toUtf8(text); }

std::wstring widen(const std::string& utf8) { return fromUtf8(utf8); }

std::string updateResultFile(int code, const std::string& reason)
{
    return "glimmerline-update-result 1\ncode " + std::to_string(code) + "\nversion " + kSetupVersionUtf8 +
           "\nreason " + reason + "\n";
}

ScopedEnvVar::ScopedEnvVar(const wchar_t* name, const std::wstring& value) : name_(name)
{
    DWORD length = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (length > 0) {
        old_.resize(length);
        old_.resize(::GetEnvironmentVariableW(name, old_.data(), length));
        hadOld_ = true;
    }
    ::SetEnvironmentVariableW(name, value.empty() ? nullptr : value.c_str());
}

ScopedEnvVar::~ScopedEnvVar() { ::SetEnvironmentVariableW(name_.c_str(), hadOld_ ? old_.c_str() : nullptr); }

} // namespace gls::test

namespace gls::test {

namespace {

// Starts the helper with a named event it signals once it is at work; the process, or none when
// it did not start or did not signal within 10 s.
UniqueKernelHandle startHelper(const std::wstring& arguments, bool& ready)
{
    std::wstring eventName = L"gls-helper-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                             std::to_wstring(::GetTickCount64());
    UniqueKernelHandle readyEvent(::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
    std::wstring helper = buildDir() + L"\\tests\\gls_test_helper.exe";
    std::wstring commandLine = L"\"" + helper + L"\" " + arguments + L" " + eventName;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ready = false;
    if (!::CreateProcessW(helper.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        return {};
    }
    ::CloseHandle(pi.hThread);
    UniqueKernelHandle process(pi.hProcess);
    HANDLE waits[] = {readyEvent.get(), process.get()};
    ready = ::WaitForMultipleObjects(2, waits, FALSE, 10000) == WAIT_OBJECT_0;
    return process;
}

} // namespace

ShortFileWaits::ShortFileWaits(unsigned long milliseconds) { gls::setFileWaitBudget(milliseconds); }

ShortFileWaits::~ShortFileWaits() { gls::setFileWaitBudget(gls::kFileWaitBudgetMs); }

HeldFile::HeldFile(const std::wstring& path, bool shareDelete, DWORD holdMs)
{
    process_ = startHelper(std::wstring(shareDelete ? L"hold-shared" : L"hold") + L" \"" + path + L"\" " +
                               std::to_wstring(holdMs),
                           holding_);
}

HeldFile::~HeldFile() { endProcess(process_); }

ReadOnlyMount::ReadOnlyMount(const std::wstring& folder) : hostPath_(unixPath(folder))
{
    if (hostPath_.empty()) return;
    std::string at = "'" + hostPath_ + "'";
    mounted_ = runHostCommand("mount --bind " + at + " " + at + " && mount -o remount,ro,bind " + at) == 0;
    if (!mounted_) runHostCommand("mountpoint -q " + at + " && umount " + at);
}

ReadOnlyMount::~ReadOnlyMount()
{
    if (mounted_) runHostCommand("umount '" + hostPath_ + "'");
}

Scanner::Scanner(const std::wstring& folder, DWORD holdMs)
{
    process_ = startHelper(L"scan \"" + folder + L"\" " + std::to_wstring(holdMs), watching_);
}

Scanner::~Scanner() { endProcess(process_); }

bool underWine() { return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

std::string unixPath(const std::wstring& windowsPath)
{
    using Convert = char*(CDECL*)(const wchar_t*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return {};
    char* text = convert(windowsPath.c_str());
    if (!text) return {};
    std::string result = text;
    ::HeapFree(::GetProcessHeap(), 0, text);
    return result;
}

int runHostCommand(const std::string& command, DWORD limitMs)
{
    if (!underWine()) return -1;
    static std::atomic<unsigned> count{0};
    std::wstring status = buildDir() + L"\\host-command-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                          std::to_wstring(++count) + L".status";
    std::string hostStatus = unixPath(status);
    // Written beside and renamed, so that the status file is whole whenever it is there.
    std::string script = command + "; echo $? > '" + hostStatus + ".part' && mv '" + hostStatus + ".part' '" +
                         hostStatus + "'";
    std::wstring quoted;
    for (wchar_t c : widen(script)) {
        if (c == L'"' || c == L'\\') quoted += L'\\';
        quoted += c;
    }
    runProgram(L"Z:\\bin\\sh", L"-c \"" + quoted + L"\"", {}, limitMs);
    ULONGLONG start = ::GetTickCount64();
    while (!exists(status) && ::GetTickCount64() - start < limitMs) ::Sleep(20);
    std::string text = readFile(status);
    ::DeleteFileW(status.c_str());
    return text.empty() ? -1 : std::atoi(text.c_str());
}

namespace {

bool isReparsePoint(const std::wstring& path)
{
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

} // namespace

bool removeFolderLink(const std::wstring& link)
{
    if (!underWine()) return ::RemoveDirectoryW(link.c_str()) != FALSE;
    // Wine's RemoveDirectoryW follows the link; the host's rm takes the link itself.
    std::string linkPath = unixPath(link);
    if (linkPath.empty()) return false;
    return runHostCommand("rm -f '" + linkPath + "'") == 0 && !isReparsePoint(link);
}

bool makeFolderLink(const std::wstring& link, const std::wstring& target)
{
    if (::CreateSymbolicLinkW(link.c_str(), target.c_str(),
                              SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
        isReparsePoint(link)) {
        return true;
    }
    if (!underWine()) return false;
    // Wine starts host programs too: let the host's ln make the link, which Wine shows as a
    // reparse point. Relative, so that it holds whichever way the drive is reached.
    std::wstring parent = link.substr(0, link.find_last_of(L'\\'));
    std::wstring relative = fs::path(target).lexically_relative(fs::path(parent)).generic_wstring();
    std::string linkPath = unixPath(link);
    if (relative.empty() || linkPath.empty()) return false;
    return runHostCommand("ln -s '" + narrow(relative) + "' '" + linkPath + "'") == 0 && isReparsePoint(link);
}

bool makeJunction(const std::wstring& link, const std::wstring& target)
{
    if (!::CreateDirectoryW(link.c_str(), nullptr)) return false;
    // The mount point's reparse data: tag, data length, a reserved word, then the offsets and
    // lengths (in bytes) of the name the system follows ("\??\" and the path) and of the name
    // shown, both stored with their nulls.
    std::wstring followed = L"\\??\\" + target;
    std::vector<WORD> words = {0, static_cast<WORD>(followed.size() * 2), static_cast<WORD>(followed.size() * 2 + 2),
                               static_cast<WORD>(target.size() * 2)};
    std::vector<wchar_t> names(followed.begin(), followed.end());
    names.push_back(0);
    names.insert(names.end(), target.begin(), target.end());
    names.push_back(0);
    WORD dataLength = static_cast<WORD>(words.size() * 2 + names.size() * 2);
    std::vector<unsigned char> buffer(8 + dataLength);
    DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    std::memcpy(buffer.data(), &tag, 4);
    std::memcpy(buffer.data() + 4, &dataLength, 2);
    std::memcpy(buffer.data() + 8, words.data(), words.size() * 2);
    std::memcpy(buffer.data() + 8 + words.size() * 2, names.data(), names.size() * 2);
    UniqueFile folder(::CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    DWORD returned = 0;
    if (folder && ::DeviceIoControl(folder.get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                                    static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr)) {
        return true;
    }
    folder.reset();
    ::RemoveDirectoryW(link.c_str());
    return false;
}

bool makeShortcutFile(const std::wstring& path, const std::wstring& target)
{
    return gls::makeShortcut(path, target, target.substr(0, target.find_last_of(L'\\')));
}

} // namespace gls::test

namespace gls::test {

std::wstring standInExe() { return appExeIn(buildDir() + L"\\standin"); }

StandInApp::StandInApp(const std::wstring& exe, const std::wstring& args, const EnvOverrides& overrides)
{
    process_.reset(startProgram(exe, args, overrides, &pid_));
}

StandInApp::~StandInApp() { endProcess(process_); }

bool StandInApp::running() const { return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

DWORD StandInApp::waitExit(DWORD limitMs) const
{
    DWORD code = STILL_ACTIVE;
    if (process_ && ::WaitForSingleObject(process_.get(), limitMs) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(process_.get(), &code);
    }
    return code;
}

HWND StandInApp::waitForWindow(const std::wstring& className, DWORD limitMs)
{
    ULONGLONG start = ::GetTickCount64();
    for (;;) {
        if (HWND w = ::FindWindowW(className.c_str(), nullptr)) return w;
        if (::GetTickCount64() - start > limitMs) return nullptr;
        ::Sleep(50);
    }
}

} // namespace gls::test
