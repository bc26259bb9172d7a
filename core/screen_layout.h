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
    Rect body{24, 140, 416, 204};
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

// The width of a text in the body family at a size and weight, trailing white space included;
// 0 when it cannot be measured.
using MeasureText = std::function<float(const std::wstring& text, float size, int weight)>;

ScreenLayout layoutScreen(const ScreenState& state, const MeasureText& measure);

// The text shortened in the middle with "…" until it fits the width at 14 DIPs, weight 400.
std::wstring ellipsizeMiddle(const std::wstring& text, float width, const MeasureText& measure);

} // namespace gls
