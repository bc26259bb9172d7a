// Message boxes of the setup: no owner window, the caption "Glimmerline Setup".
#pragma once

#include "core/texts.h"

#include <string>

namespace gls {

struct Env;

// icon is one of MB_ICONERROR, MB_ICONINFORMATION, MB_ICONWARNING.
void showMessage(const wchar_t* text, unsigned icon);

// Logs the message in English and, unless the run is silent or in test mode, shows it in a box with
// the information icon in the user's language: what a run tells its user before or without a window.
void tellUser(const Env& env, bool silent, const Message& message);

} // namespace gls
