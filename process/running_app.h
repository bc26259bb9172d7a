// Finding the running app by its windows and its processes, asking it to close, ending it, and
// waiting for one process to quit. Every call looks at the live system; nothing is cached.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace gls {

struct Env;

struct RunningApp {
    std::vector<HWND> windows;             // top-level windows of the app's class
    std::vector<std::uint32_t> processIds; // their owners, then processes found by image path
    bool running() const { return !windows.empty() || !processIds.empty(); }
};

// Windows of the app's class count wherever the app runs from; a process found by its name only
// counts when it runs from this install folder. An empty folder searches windows only.
RunningApp findRunningApp(const Env& env, const std::wstring& installFolder);

enum class CloseOutcome {
    Closed,           // windows and processes are gone
    OutOfTime,        // the budget was spent first
    RefusedForRights, // the app runs as administrator: it takes no request and cannot be ended
};

// Posts WM_CLOSE once to each app window and waits until windows and processes are gone. An app
// that the system shields from this setup is reported at once, not waited for.
// How long the app is given to close before a job: 15 s, 60 s in an updater's run (its app may
// be saving), or the test mode's own time.
std::uint32_t appCloseBudgetMs(const Env& env, bool updateRun);

[[nodiscard]] CloseOutcome askAppToClose(const Env& env, const std::wstring& installFolder, std::uint32_t budgetMs);

// Ends every process of the app, as the user asked. True when all were ended and nothing is found after.
[[nodiscard]] bool endApp(const Env& env, const std::wstring& installFolder);

// True when the process quit within the limit, or cannot be opened or is this setup itself (taken
// as gone).
[[nodiscard]] bool waitForQuit(std::uint32_t processId, std::uint32_t limitMs);

} // namespace gls
