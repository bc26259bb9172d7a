// Where every element of a screen goes in the 440 x 388 DIP design space. The window's painting,
// its hit testing and the snapshot tool all use this one layout; the text widths it needs come
// from a measuring function, so the arithmetic itself is free of the platform.
#pragma once

#include "screen_state.h"
#include "target.h"
#include "wave_math.h"

#include <functional>
#include <string>

namespace gls {

struct ScreenLayout {
    Rect wave{24, 66, 416, 88};
    Rect title{24, 112, 416, 136};
    Rect body{24, 140, 416, 204}; // its bottom: where what follows begins
    Rect folderLabel, folderPath, notice, accept;
    // The clickable rectangles, in the order of their Target values (index 1 to 5).
    Rect clickable[6];
    bool present[6] = {};
    std::wstring folderText;

    const Rect& primary() const { return clickable[1]; }
    const Rect& secondary() const { return clickable[2]; }
    const Rect& checkbox() const { return clickable[3]; }
    const Rect& change() const { return clickable[4]; }
    const Rect& license() const { return clickable[5]; }
    bool has(Target t) const { return present[static_cast<int>(t)]; }
};

// Text measured in the body family. width: of a text on one line at a size and weight, trailing
// white space included. wrappedHeight: of a text at weight 400 wrapped in a width, its lines
// lineSpacing apart. Either is 0 when the text cannot be measured.
struct MeasureText {
    std::function<float(const std::wstring& text, float size, int weight)> width;
    std::function<float(const std::wstring& text, float size, float lineSpacing, float width)> wrappedHeight;

    float operator()(const std::wstring& text, float size, int weight) const { return width(text, size, weight); }
};

// The line spacing of the body, and of the hints below a checkbox.
inline constexpr float kBodyLineSpacing = 1.45f * 14;
inline constexpr float kHintLineSpacing = 18.125f;

ScreenLayout layoutScreen(const ScreenState& state, const MeasureText& measure);

// The text shortened in the middle with "…" until it fits the width at 14 DIPs, weight 400.
std::wstring ellipsizeMiddle(const std::wstring& text, float width, const MeasureText& measure);

} // namespace gls
