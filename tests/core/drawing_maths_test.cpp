// The drawing's arithmetic: the spectrum, readable contrast on both palettes, and the wave band.
#include "core/colour_math.h"
#include "core/palette.h"
#include "core/wave_math.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

double contrast(const gls::Colour& a, const gls::Colour& b)
{
    double la = gls::relativeLuminance(a), lb = gls::relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

TEST(DrawingMaths, SpectrumRunsFromRedOverGreenToViolet)
{
    auto eq = [](const gls::Colour& c, float r, float g, float b) {
        return std::abs(c.r - r) < 1e-5 && std::abs(c.g - g) < 1e-5 && std::abs(c.b - b) < 1e-5;
    };
    EXPECT_TRUE(eq(gls::spectrumColor(0), 1, 0, 0));
    EXPECT_TRUE(eq(gls::spectrumColor(-3), 1, 0, 0));
    EXPECT_TRUE(eq(gls::spectrumColor(60.0f / 270), 1, 1, 0));
    EXPECT_TRUE(eq(gls::spectrumColor(120.0f / 270), 0, 1, 0));
    EXPECT_TRUE(eq(gls::spectrumColor(240.0f / 270), 0, 0, 1));
    EXPECT_TRUE(eq(gls::spectrumColor(1), 0.5f, 0, 1));
    EXPECT_TRUE(eq(gls::spectrumColor(7), 0.5f, 0, 1));
}

TEST(DrawingMaths, ContrastIsEnsuredOnBothPalettes)
{
    gls::Colour light = gls::colourFromRgb(gls::kLightPalette.background);
    gls::Colour dark = gls::colourFromRgb(gls::kDarkPalette.background);
    for (int i = 0; i <= 12; ++i) {
        gls::Colour c = gls::spectrumColor(i / 12.0f);
        EXPECT_GE(contrast(gls::ensureContrast(c, light), light), 2.2 - 1e-3) << i;
        EXPECT_GE(contrast(gls::ensureContrast(c, dark), dark), 3.0 - 1e-3) << i;
    }
    // A colour that already meets the ratio is kept as it is.
    gls::Colour blue = gls::spectrumColor(240.0f / 270);
    gls::Colour kept = gls::ensureContrast(blue, light);
    EXPECT_EQ(kept.r, blue.r);
    EXPECT_EQ(kept.b, blue.b);
    // Yellow on the light background is darkened, not lightened.
    gls::Colour yellow = gls::ensureContrast(gls::spectrumColor(60.0f / 270), light);
    EXPECT_LT(yellow.r, 1.0f);
    EXPECT_LT(gls::relativeLuminance(yellow), gls::relativeLuminance(gls::spectrumColor(60.0f / 270)));
}

TEST(DrawingMaths, WaveBandFillsFromTheLeft)
{
    gls::Colour muted = gls::colourFromRgb(gls::kLightPalette.muted);
    gls::Rect wave{24, 66, 416, 88};
    auto empty = gls::waveBars(wave, 98, 0, muted);
    auto full = gls::waveBars(wave, 98, 1, muted);
    ASSERT_FALSE(empty.empty());
    for (const auto& bar : empty) {
        EXPECT_FLOAT_EQ(bar.colour.r, muted.r);                  // grey
        EXPECT_LE(bar.rect.bottom - bar.rect.top, 11.0f + 1e-4); // half height at most
        EXPECT_NEAR(bar.rect.right - bar.rect.left, 2.4f, 1e-4);
    }
    float tallest = 0;
    for (const auto& bar : full) tallest = std::max(tallest, bar.rect.bottom - bar.rect.top);
    EXPECT_GT(tallest, 15.0f);
    EXPECT_NEAR(full[full.size() / 2].rect.left - full[full.size() / 2 - 1].rect.left, 4.0f, 1e-4);

    auto half = gls::waveBars(wave, 98, 0.5f, muted);
    int coloured = 0;
    for (const auto& bar : half) {
        bool grey = std::abs(bar.colour.r - muted.r) < 1e-4 && std::abs(bar.colour.g - muted.g) < 1e-4;
        if (!grey) ++coloured;
        if (bar.rect.left > 24 + 392 * 0.7f) {
            EXPECT_TRUE(grey) << bar.rect.left;
        }
    }
    EXPECT_GT(coloured, 40);
}
