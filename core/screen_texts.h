// What each screen says: title, body, button and checkbox labels, the notice and the hint. An
// empty text means the screen has no such element.
#pragma once

#include "screen_state.h"
#include "target.h"

#include <string>

namespace gls {

std::wstring titleText(const ScreenState& state);
std::wstring bodyText(const ScreenState& state);
std::wstring primaryLabel(const ScreenState& state);
std::wstring secondaryLabel(const ScreenState& state);
std::wstring checkboxLabel(const ScreenState& state);

// The welcome screen's one notice line: the folder problem first, then the Windows notice, then
// the Media Feature Pack notice. Empty on other screens and when there is nothing to say.
std::wstring noticeText(const ScreenState& state);

// The remove screen's two-line hint below its checkbox.
std::wstring removeHintText(const ScreenState& state);

// The welcome screen's line before the license link; empty on other screens.
std::wstring acceptanceText(const ScreenState& state);

// The text of a link of the welcome screen: "Change…" or "License Agreement".
std::wstring linkText(Target link);

} // namespace gls
