// The jobs the window's worker runs, and how one ended: the two numbers its done message carries.
#pragma once

#include <cstdint>

namespace gls {

enum class Work : std::int32_t {
    Install = 0,
    CloseThenInstall = 1,
    EndThenInstall = 2,
    Uninstall = 3,
    CloseThenUninstall = 4,
    EndThenUninstall = 5,
    RetryLiveScript = 6,
};

enum class WorkOutcome : std::int32_t {
    Succeeded = 1,   // the job reported success, or the Live script's removal was tried again
    Failed = 2,      // the install or uninstall job reported failure
    NotClosed = 3,   // the app still ran when the time to close it was spent
    NotEnded = 4,    // ending the app failed
    RunsAsAdmin = 5, // the app runs as administrator: it takes no close request and cannot be ended
};

// The jobs that first ask the app to close, or end it, before the install or uninstall job.
constexpr bool isCloseJob(Work w) { return w == Work::CloseThenInstall || w == Work::CloseThenUninstall; }
constexpr bool isEndJob(Work w) { return w == Work::EndThenInstall || w == Work::EndThenUninstall; }

constexpr bool isUninstallJob(Work w)
{
    return w == Work::Uninstall || w == Work::CloseThenUninstall || w == Work::EndThenUninstall;
}

} // namespace gls
