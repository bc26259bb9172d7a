// The palette of a high-contrast theme, made from the system colours the user chose. Pure
// mapping, free of the platform.
#pragma once

#include "palette.h"

#include <cstdint>

namespace gls {

// The system colours the window draws with under high contrast, each 24-bit RGB (red in the
// high byte).
struct SystemColours {
    std::uint32_t window;        // background
    std::uint32_t windowText;    // every text, the wave band, the wordmark, the focus ring
    std::uint32_t buttonFace;    // a button's fill
    std::uint32_t buttonText;    // a button's label and border
    std::uint32_t highlight;     // the primary button, a ticked box, a hovered or pressed button
    std::uint32_t highlightText; // what is drawn on the highlight
    std::uint32_t hotLight;      // links
    std::uint32_t grayText;      // the part of the wave band not reached yet
};

// The slots keep their meaning: secondary text is the window text too (no dimmed text), the
// border and fill are the button's, the accent is the highlight, muted is the grey text.
inline Palette highContrastPalette(const SystemColours& s)
{
    return {s.window,    s.windowText,    s.windowText, s.buttonText, s.buttonFace,
            s.highlight, s.highlightText, s.grayText,   s.hotLight,   true};
}

} // namespace gls
