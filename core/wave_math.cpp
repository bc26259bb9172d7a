// The spectral wave band's bars.
#include "wave_math.h"

#include <algorithm>
#include <cmath>

namespace gls {

namespace {

float ease(float x) { return x * x * (3 - 2 * x); }

} // namespace

std::vector<WaveBar> waveBars(const Rect& r, int count, float fill, const Colour& muted, const Colour* plain)
{
    std::vector<WaveBar> bars;
    float step = (r.right - r.left) / count;
    float cy = (r.top + r.bottom) / 2;
    float half = (r.bottom - r.top) / 2;
    float soft = 0.12f * count;
    float front = (count + soft) * fill;
    for (int i = 0; i < count; ++i) {
        float u = count > 1 ? static_cast<float>(i) / (count - 1) : 0.0f;
        float reveal = std::clamp((front - i) / soft, 0.0f, 1.0f);
        float s = reveal * reveal * (3 - 2 * reveal);
        float theta = 2 * 3.14159265358979f * u;
        float a = std::clamp(0.5f + 0.28f * std::sin(1.6f * theta + 0.7f) + 0.14f * std::sin(4.7f * theta + 2.1f) +
                                 0.08f * std::sin(11.3f * theta + 0.4f),
                             0.0f, 1.0f);
        float e1 = std::clamp(u / 0.12f, 0.0f, 1.0f);
        float e2 = std::clamp((u - 1) / -0.12f, 0.0f, 1.0f);
        float h = ease(e2) * ease(e1) * (0.12f + 0.88f * a) * half * (0.5f + 0.5f * s);
        if (h < 1) continue;
        float x = r.left + i * step;
        Colour colour = plain ? (s >= 0.5f ? *plain : muted) : tint(muted, spectrumColor(u), s);
        bars.push_back({{x, cy - h, x + std::max(0.6f * step, 1.0f), cy + h}, colour});
    }
    return bars;
}

} // namespace gls
