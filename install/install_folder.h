// The check every install folder from outside passes: "/D=", the folder picker, the welcome screen.
#pragma once

#include "core/checked.h"

#include <string>

namespace gls {

struct Env;

// The folder in normal form (full path, no trailing separator), or the user's sentence for why
// it cannot be used. Reads entry states only; creates nothing.
[[nodiscard]] Checked<std::wstring> checkInstallFolder(const Env& env, const std::wstring& text);

} // namespace gls
