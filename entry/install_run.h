// The install role: payload check, one setup at a time, the install folder, then the window or
// a silent install.
#pragma once

#include "core/exit_code.h"

#include <string>

namespace gls {

struct Args;
struct Env;

// Returns the exit code; fills `reason` on failure (for the update result).
[[nodiscard]] ExitCode doInstall(const Env& env, const Args& args, std::wstring& reason);

// The reaction to another setup holding the mutex: brings its window forward (not in test
// mode) or says so. Always AnotherSetupRuns.
[[nodiscard]] ExitCode reportAlreadyRunning(const Env& env, const Args& args);

} // namespace gls
