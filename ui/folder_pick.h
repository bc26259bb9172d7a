// The folder picker's two rules around the system dialog: where it opens, and what a picked
// folder does to the screen state.
#pragma once

#include "core/screen_state.h"

#include <string>

namespace gls {

struct Env;

// The nearest existing plain folder at or above the path (a link, a file or a missing path does
// not count); empty when there is none.
std::wstring pickerStartFolder(std::wstring path);

// Applies a picked folder: the install folder it leads to when the folder rules accept it (with
// whether it holds the app, and the installed version when it is the folder the window started
// with), or the rules' message as the folder problem.
void applyPickedFolder(const Env& env, ScreenState& state, const std::wstring& picked, const std::wstring& startFolder,
                       const std::wstring& startVersion);

} // namespace gls
