// The drawing state of one paint: render target, fonts, palette and one brush; and the text and
// decoration primitives every screen is drawn with.
#pragma once

#include "core/colour_math.h"
#include "core/palette.h"
#include "core/screen_layout.h"
#include "core/wave_math.h"
#include "fonts.h"

#include <d2d1.h>
#include <dwrite.h>

#include <string>
#include <vector>

namespace gls {

// A text drawn on one line into a box of the layout, measured with the fonts at hand.
// A text as drawn, for the fit report. One on a line: its width and its box's, in DIPs. One that
// wraps: the height it takes when its box is narrower by the fit margin, and its box's height.
struct DrawnLine {
    std::wstring text;
    float width; // the text's, in DIPs; 0 when it cannot be measured
    float room;  // its box's
    bool wrapped = false;
};

struct Painter {
    ID2D1RenderTarget* target = nullptr; // null when only measuring
    const FontChoice* fonts = nullptr;
    Palette palette;
    ID2D1SolidColorBrush* brush = nullptr;
    std::vector<DrawnLine>* lines = nullptr; // when set, every text drawn is noted here
};

enum class HAlign { Leading, Trailing, Centre };
enum class VAlign { Top, Bottom, Centre };

// The width of a text in the body family, trailing white space included; 0 when it cannot be laid out.
float measureText(const Painter& p, const std::wstring& text, float size, int weight);

struct TextStyle {
    float size = 14;
    int weight = 400;
    Colour colour;
    HAlign h = HAlign::Leading;
    VAlign v = VAlign::Top;
    bool wrap = false;
    const std::wstring* family = nullptr; // the body family when null
    float lineSpacing = 0;                // with wrap: 1.45 x size when 0
    float baseline = 0;                   // with wrap: 1.1 x size when 0
    // The box was measured from this text, or the text was cut to fit the box, with the fonts
    // that draw it: it fits whatever those fonts are, so it is not noted in the painter's lines.
    bool fitsByMeasure = false;
};

void drawText(const Painter& p, const std::wstring& text, const Rect& r, const TextStyle& style);

// measureText of this painter, for the screen layout.
MeasureText measuring(const Painter& p);

void drawWave(const Painter& p, const Rect& r, int bars, float fill);

// "Glimmerline" with its first six letters in the spectrum.
void drawWordmark(const Painter& p, const Rect& r);

void fillRect(const Painter& p, const Rect& r, const Colour& c);

D2D1_COLOR_F toD2D(const Colour& c);

} // namespace gls
