// The update result: a small file that tells an in-app updater how its silent update went.
#pragma once

#include <cstdint>
#include <string>

namespace gls {

struct Env;

// Replaces "update\update-result.txt" in the settings folder; does nothing without one. The log
// says whether it was written; nothing reaches the caller.
void writeUpdateResult(const Env& env, std::int32_t code, const std::wstring& reason);

} // namespace gls
