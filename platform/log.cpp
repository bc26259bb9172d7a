// The setup log. Each line is written whole under one lock and handed to the file system before
// logLine returns, so two threads never interleave inside a line and a crash loses nothing.
#include "log.h"

#include "core/log_prefix.h"
#include "core/path_join.h"
#include "env.h"
#include "file_status.h"
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

// Starts the file over: truncated and begun with the byte-order mark.
bool startOver(const std::wstring& path)
{
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
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
        std::wstring path = logFilePath(env);

        bool fresh = true;
        if (entryExists(path)) {
            std::uint64_t size = 0;
            fresh = !fileSize(path, size) || size > kMaxLogBytes || size == 0;
        }
        if (fresh && !startOver(path)) return;

        // Append-only access: every write lands at the current end, also when another run of the
        // setup writes to the same file at the same time.
        g_file.reset(::CreateFileW(path.c_str(), FILE_APPEND_DATA, kShareAll, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!g_file) return;
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
