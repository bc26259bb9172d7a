// The install role: payload check, one setup at a time, the install folder, then the window or
// a silent install.
#pragma once

#include <string>

namespace gls {

struct Args;
struct Env;

// Returns the exit code; fills `reason` on failure (for the update result).
int doInstall(const Env& env, const Args& args, std::wstring& reason);

// The reaction to another setup holding the mutex: brings its window forward (not in test
// mode) or says so. Always 4.
int reportAlreadyRunning(const Env& env, const Args& args);

} // namespace gls
