// The uninstall role: the uninstaller in the install folder hands over to a copy of itself in
// the temporary folder (uninstall/handoff.h), which removes the app; an uninstaller anywhere else,
// or a copy, removes it itself.
#pragma once

#include "core/exit_code.h"

namespace gls {

struct Args;
struct Env;

[[nodiscard]] ExitCode doUninstall(const Env& env, const Args& args);

} // namespace gls
