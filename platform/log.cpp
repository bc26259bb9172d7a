// The setup log. Each line is written whole under one lock and handed to the file system before
// logLine returns, so two threads never interleave inside a line and a crash loses nothing.
#include "log.h"

#include "core/log_prefix.h"
#include "core/path_join.h"
#include "env.h"
#include "file_status.h"
#include "file_waits.h"
#include "text.h"
#include "unique_handle.h"

#include <windows.h>

#include <cstdarg>
#include <cstdint>
#include <cwchar>
#include <exception>
#include <mutex>
#include <string>
#include <vector>

namespace gls {

namespace {

constexpr std::uintmax_t kMaxLogBytes = 262144;

std::mutex g_lock;
UniqueFile g_file;
std::once_flag g_timeBaseOnce;
ULONGLONG g_timeBase = 0;

std::wstring formatV(const wchar_t* format, va_list args)
{
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        int n = std::vswprintf(buffer.data(), buffer.size(), format, copy);
        va_end(copy);
        if (n >= 0 && static_cast<size_t>(n) < buffer.size()) return std::wstring(buffer.data(), n);
        // vswprintf gives no needed length on overflow; grow until it fits, within reason.
        if (buffer.size() >= (1u << 20)) return std::wstring(buffer.data());
        buffer.resize(buffer.size() * 2);
    }
}

void writeBytes(HANDLE file, const std::string& bytes)
{
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens the file, waiting for a scanner that holds a file it just saw made; nothing is logged
// about the wait, as the log is not open yet.
UniqueFile openWaiting(const std::wstring& path, DWORD access, DWORD disposition)
{
    UniqueFile file;
    (void)retryWhileHeld(path, [&] {
        file.reset(
            ::CreateFileW(path.c_str(), access, kShareAll, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
        return static_cast<bool>(file);
    });
    return file;
}

// Starts the file over: truncated and begun with the byte-order mark.
bool startOver(const std::wstring& path)
{
    UniqueFile file = openWaiting(path, GENERIC_WRITE, CREATE_ALWAYS);
    if (!file) return false;
    writeBytes(file.get(), "\xEF\xBB\xBF");
    return true;
}

} // namespace

std::wstring logFilePath(const Env& env)
{
    if (env.tempDir.empty()) return {};
    return joinPath(env.tempDir, L"Glimmerline-Setup.log");
}

void openLog(const Env& env, const wchar_t* modeWord)
{
    {
        std::lock_guard<std::mutex> lock(g_lock);
        if (g_file || env.tempDir.empty()) return;
    }
    // Opened outside the lock: a wait for the file logs through logLine, which takes the lock.
    std::wstring path = logFilePath(env);
    bool fresh = true;
    if (entryExists(path)) {
        std::uint64_t size = 0;
        fresh = !fileSize(path, size) || size > kMaxLogBytes || size == 0;
    }
    if (fresh && !startOver(path)) return;
    // Append-only access: every write lands at the current end, also when another run of the
    // setup writes to the same file at the same time.
    UniqueFile file = openWaiting(path, FILE_APPEND_DATA, OPEN_ALWAYS);
    {
        std::lock_guard<std::mutex> lock(g_lock);
        if (!file || g_file) return;
        g_file = std::move(file);
    }

    SYSTEMTIME now;
    ::GetLocalTime(&now);
    logLine(L"---- %04u-%02u-%02u %02u:%02u:%02u %ls (pid %lu)%ls", now.wYear, now.wMonth, now.wDay, now.wHour,
            now.wMinute, now.wSecond, modeWord, ::GetCurrentProcessId(), env.testMode ? L", test" : L"");
}

void logLine(const wchar_t* format, ...)
{
    {
        std::lock_guard<std::mutex> lock(g_lock);
        if (!g_file) return;
    }
    std::call_once(g_timeBaseOnce, [] { g_timeBase = ::GetTickCount64(); });

    va_list args;
    va_start(args, format);
    std::wstring text = formatV(format, args);
    va_end(args);

    std::string line = toUtf8(logPrefix(::GetTickCount64() - g_timeBase) + text + L"\r\n");
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_file) writeBytes(g_file.get(), line);
}

void logCaughtException()
{
    try {
        throw;
    } catch (const std::exception& e) {
        logLine(L"stopped by an unexpected error: %hs", e.what());
    } catch (...) {
        logLine(L"stopped by an unexpected error");
    }
}

} // namespace gls
