// Colour arithmetic of the window's drawing.
#include "colour_math.h"

#include <algorithm>
#include <cmath>

namespace gls {

namespace {

double linear(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }

} // namespace

Colour colourFromRgb(std::uint32_t rgb)
{
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, 1.0f};
}

Colour spectrumColor(float position)
{
    float h = std::clamp(position, 0.0f, 1.0f) * 270.0f / 60.0f;
    float x = 1.0f - std::fabs(std::fmod(h, 2.0f) - 1.0f);
    if (h < 1) return {1, x, 0, 1};
    if (h < 2) return {x, 1, 0, 1};
    if (h < 3) return {0, 1, x, 1};
    if (h < 4) return {0, x, 1, 1};
    return {x, 0, 1, 1};
}

Colour tint(const Colour& c, const Colour& t, float f)
{
    return {c.r + (t.r - c.r) * f, c.g + (t.g - c.g) * f, c.b + (t.b - c.b) * f, 1.0f};
}

double relativeLuminance(const Colour& c) { return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b); }

Colour ensureContrast(const Colour& c, const Colour& background)
{
    double lb = relativeLuminance(background);
    bool light = lb >= 0.18;
    double required = light ? 2.2 : 3.0;
    auto meets = [&](const Colour& x) {
        double lc = relativeLuminance(x);
        double ratio = light ? (lb + 0.05) / (lc + 0.05) : (lc + 0.05) / (lb + 0.05);
        return ratio >= required;
    };
    if (meets(c)) return c;
    Colour target = light ? Colour{0, 0, 0, 1} : Colour{1, 1, 1, 1};
    float lo = 0, hi = 1;
    for (int step = 0; step < 12; ++step) {
        float mid = (lo + hi) / 2;
        Colour mixed = {c.r + (target.r - c.r) * mid, c.g + (target.g - c.g) * mid, c.b + (target.b - c.b) * mid,
                        c.a + (target.a - c.a) * mid};
        if (meets(mixed)) {
            hi = mid;
        } else {
            lo = mid;
        }
    }
    return {c.r + (target.r - c.r) * hi, c.g + (target.g - c.g) * hi, c.b + (target.b - c.b) * hi,
            c.a + (target.a - c.a) * hi};
}

} // namespace gls
