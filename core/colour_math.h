// Colour arithmetic of the window's drawing: the spectrum ramp, tints and readable contrast.
// Pure arithmetic, free of the platform.
#pragma once

#include <cstdint>

namespace gls {

struct Colour {
    float r = 0, g = 0, b = 0, a = 1;
};

// A palette entry (24-bit RGB, red in the high byte) as a colour.
Colour colourFromRgb(std::uint32_t rgb);

// The hue ramp from red over yellow, green, cyan and blue to violet (270 degrees), for 0 to 1.
Colour spectrumColor(float position);

// c moved toward t by the fraction f, alpha 1.
Colour tint(const Colour& c, const Colour& t, float f);

// WCAG relative luminance.
double relativeLuminance(const Colour& c);

// c darkened (light background) or lightened (dark background) just enough for a contrast
// ratio of 2.2 or 3.0 against the background.
Colour ensureContrast(const Colour& c, const Colour& background);

} // namespace gls
