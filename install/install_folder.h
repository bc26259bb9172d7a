// The check every install folder from outside passes: "/D=", the folder picker, the welcome screen.
#pragma once

#include "core/folder_rules.h"

#include <string>

namespace gls {

struct Env;

// The folder in normal form (full path, no trailing separator), or what the user reads about why
// it cannot be used. Reads entry states only; creates nothing.
[[nodiscard]] FolderCheck checkInstallFolder(const Env& env, const std::wstring& text);

} // namespace gls
