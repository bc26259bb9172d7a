// The update result: a small file that tells an in-app updater how its silent update went.
#pragma once

#include "core/exit_code.h"

#include <string>

namespace gls {

struct Env;

// Replaces "update\update-result.txt" in the settings folder; does nothing without one. When it
// cannot be written, an earlier run's result is removed where possible. The log says what
// happened; nothing reaches the caller.
void writeUpdateResult(const Env& env, ExitCode code, const std::wstring& reason);

} // namespace gls
