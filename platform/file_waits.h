// Waiting out another program that holds a file for a moment: a virus scanner or the search
// indexer opens each new file, a backup agent holds files with delete sharing. Every operation on
// the app's files that such a program can block goes through here, with one budget per file.
#pragma once

#include <functional>
#include <string>

namespace gls {

// What a failed attempt may wait out: a sharing or lock violation and access denied always;
// "folder not empty" only where everything in the folder was removed by this run and only its
// names are still pending.
enum class WaitOut { Holders, HoldersAndPendingNames };

// Calls `attempt` until it succeeds, fails in a way no wait mends, or the budget for one file is
// spent, with waits from a few milliseconds up to half a second; a wait is logged once, when it
// ends. `attempt` returns false with the thread's last error set; after a false return the last
// error is the last attempt's. Access denied is given up at once in a folder where it outlasted
// a whole budget before: such a folder is protected, not held.
[[nodiscard]] bool retryWhileHeld(const std::wstring& path, const std::function<bool()>& attempt,
                                  WaitOut what = WaitOut::Holders);

// The budget for one file; the test mode may set another.
inline constexpr unsigned long kFileWaitBudgetMs = 10000;
void setFileWaitBudget(unsigned long milliseconds);

} // namespace gls
