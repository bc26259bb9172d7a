// Painting a whole screen with the one layout the window, its hit testing and the snapshot tool share.
#pragma once

#include "core/screen_layout.h"
#include "core/screen_state.h"
#include "painter.h"

namespace gls {

// Draws a whole screen, with the focus ring around the focus element (none: no ring); the render
// target is between BeginDraw and EndDraw.
void paintScreen(const Painter& painter, const ScreenState& state, Target hover, Target pressed, Target focus);

} // namespace gls
