// The spectral wave band: where each bar goes and what colour it takes. Pure arithmetic.
#pragma once

#include "colour_math.h"

#include <vector>

namespace gls {

struct Rect {
    float left = 0, top = 0, right = 0, bottom = 0;
};

struct WaveBar {
    Rect rect;
    Colour colour;
};

// N bars across the rectangle; fill 0 gives grey bars at half height, 1 a full-height spectrum,
// values between a coloured front moving left to right. Bars under 1 DIP high are left out.
// With a plain colour, revealed bars take it instead of the spectrum and no bar is a blend of
// two colours (high contrast).
std::vector<WaveBar> waveBars(const Rect& r, int count, float fill, const Colour& muted, const Colour* plain = nullptr);

} // namespace gls
