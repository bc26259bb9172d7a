// One budget per file, growing steps, one log line per wait.
#include "file_waits.h"

#include "core/ascii_case.h"
#include "core/path_rules.h"
#include "log.h"
#include "system_error_text.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>

namespace gls {

namespace {

constexpr DWORD kFirstStepMs = 4;
constexpr DWORD kLongestStepMs = 500;

std::atomic<unsigned long> budgetMs{kFileWaitBudgetMs};

// Folders where access denied lasted a whole budget: waiting there again would only make the
// user wait once more for each file. Both the window's worker and the main thread may ask.
std::mutex refusingMutex;
std::set<std::wstring> refusingFolders;

bool folderRefused(const std::wstring& folder)
{
    std::lock_guard<std::mutex> lock(refusingMutex);
    return refusingFolders.contains(folder);
}

void rememberRefusal(const std::wstring& folder)
{
    std::lock_guard<std::mutex> lock(refusingMutex);
    refusingFolders.insert(folder);
}

bool waitable(DWORD error, WaitOut what)
{
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_ACCESS_DENIED: return true;
    case ERROR_DIR_NOT_EMPTY: return what == WaitOut::HoldersAndPendingNames;
    default: return false;
    }
}

} // namespace

void setFileWaitBudget(unsigned long milliseconds) { budgetMs = milliseconds; }

bool retryWhileHeld(const std::wstring& path, const std::function<bool()>& attempt, WaitOut what)
{
    if (attempt()) return true;
    DWORD error = ::GetLastError();
    std::wstring folder = asciiLower(parentPath(path));
    if (!waitable(error, what) || (error == ERROR_ACCESS_DENIED && folderRefused(folder))) {
        ::SetLastError(error);
        return false;
    }
    const DWORD firstError = error;
    const ULONGLONG start = ::GetTickCount64();
    const ULONGLONG budget = budgetMs.load();
    DWORD step = kFirstStepMs;
    bool done = false;
    for (;;) {
        ULONGLONG spent = ::GetTickCount64() - start;
        if (spent >= budget) break;
        ::Sleep(static_cast<DWORD>(std::min<ULONGLONG>(step, budget - spent)));
        step = std::min(step * 2, kLongestStepMs);
        if (attempt()) {
            done = true;
            break;
        }
        error = ::GetLastError();
        if (!waitable(error, what)) break;
    }
    unsigned long long waited = ::GetTickCount64() - start;
    if (done) {
        logLine(L"waited %llu ms for %ls: %ls", waited, path.c_str(), systemErrorText(firstError).c_str());
        return true;
    }
    logLine(L"gave up after %llu ms waiting for %ls: %ls", waited, path.c_str(), systemErrorText(error).c_str());
    if (error == ERROR_ACCESS_DENIED && waited >= budget) rememberRefusal(folder);
    ::SetLastError(error);
    return false;
}

} // namespace gls
