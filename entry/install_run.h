// The install role: payload check, one setup at a time, the install folder, then the window or
// a silent install.
#pragma once

#include <cstdint>
#include <string>

namespace gls {

struct Args;
struct Env;

// Returns the exit code; fills `reason` on failure (for the update result).
int doInstall(const Env& env, const Args& args, std::wstring& reason);

// The reaction to another setup holding the mutex: brings its window forward (not in test
// mode) or says so. Always 4.
int reportAlreadyRunning(const Env& env, const Args& args);

// The Windows build number; 0 when unknown or before Windows 10.
std::uint32_t windowsBuild();

// Builds 1 to 14392 are too old for the app; 0 (unknown) is let through.
inline bool isWindowsTooOld(std::uint32_t build) { return build >= 1 && build < 14393; }

// Whether Media Foundation's libraries are in the system folder (true when it cannot tell).
bool mediaFoundationPresent(const Env& env);

} // namespace gls
