// The setup's exit codes: a contract with the updaters that start it, so each number stays as it is.
#pragma once

#include <optional>

namespace gls {

enum class ExitCode : int {
    Done = 0,
    Failed = 1,         // the install or uninstall failed, Windows is too old, nothing to remove, no window
    Cancelled = 2,      // the window was closed before the work was done
    StartedWrongly = 3, // a bad test folder, an unknown switch, an unusable "/D=" folder
    AnotherSetupRuns = 4,
    AppDidNotClose = 5,
    SetupDamaged = 6,
};

inline int exitNumber(ExitCode code) { return static_cast<int>(code); }

// The exit code a number stands for; nothing for a number the setup does not define.
inline std::optional<ExitCode> exitCodeOf(int number)
{
    if (number < exitNumber(ExitCode::Done) || number > exitNumber(ExitCode::SetupDamaged)) return std::nullopt;
    return static_cast<ExitCode>(number);
}

} // namespace gls
