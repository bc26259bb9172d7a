// Clearing the temporary folder of the uninstaller copies that were killed.
#include "stale_copies.h"

#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "platform/env.h"
#include "platform/file_name_order.h"
#include "platform/log.h"
#include "platform/own_path.h"
#include "platform/unique_handle.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace gls {

namespace {

// A copy was just made when its creation time (not its write time, which the copy keeps from the
// uninstaller it was made from) lies less than a minute back, or ahead.
constexpr ULONGLONG kJustMade = 60ull * 10000000ull;

// "Glimmerline-Uninstall-", a process id and ".exe", letter case aside: the names the uninstaller
// gives its copies, and no name a user would choose.
bool isCopyName(const std::wstring& name)
{
    const std::wstring prefix = kUninstallCopyPrefix, suffix = L".exe";
    if (name.size() <= prefix.size() + suffix.size() || !sameFileName(name.substr(0, prefix.size()), prefix) ||
        !sameFileName(name.substr(name.size() - suffix.size()), suffix)) {
        return false;
    }
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()),
                       name.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                       [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

ULONGLONG ticks(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace

void removeStaleUninstallCopies(const Env& env)
{
    if (env.tempDir.empty()) return;
    FILETIME nowTime;
    ::GetSystemTimeAsFileTime(&nowTime);
    ULONGLONG now = ticks(nowTime);
    std::wstring self = ownExePath();

    std::vector<std::wstring> stale;
    WIN32_FIND_DATAW found;
    // The system lists only names that begin as a copy's: Temp may hold thousands of files.
    std::wstring pattern = joinPath(env.tempDir, kUninstallCopyPrefix + std::wstring(L"*.exe"));
    UniqueFind find(::FindFirstFileW(pattern.c_str(), &found));
    if (!find) return;
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
            !isCopyName(found.cFileName)) {
            continue;
        }
        ULONGLONG made = ticks(found.ftCreationTime);
        if (made > now || now - made < kJustMade) continue;
        std::wstring path = joinPath(env.tempDir, found.cFileName);
        if (!samePath(path, self)) stale.push_back(path);
    } while (::FindNextFileW(find.get(), &found));
    find.reset();

    for (const std::wstring& path : stale) {
        if (::DeleteFileW(path.c_str())) logLine(L"removed %ls", path.c_str());
    }
}

} // namespace gls
