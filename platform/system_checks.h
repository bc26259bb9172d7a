// What the setup asks of the system before it installs: the Windows build and Media Foundation.
#pragma once

#include <cstdint>

namespace gls {

struct Env;

// The Windows build number; 0 when unknown or before Windows 10.
std::uint32_t windowsBuild();

// Whether Media Foundation's libraries are in the system folder (true when it cannot tell).
bool mediaFoundationPresent(const Env& env);

} // namespace gls
