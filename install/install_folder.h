// The check every install folder from outside passes: "/D=", the folder picker, the welcome screen.
#pragma once

#include <string>

namespace gls {

struct Env;

// The folder in normal form (full path, no trailing separator), or empty with the user's
// sentence in `message`. Reads entry states only; creates nothing.
[[nodiscard]] std::wstring checkInstallFolder(const Env& env, const std::wstring& text, std::wstring& message);

} // namespace gls
