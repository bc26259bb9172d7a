// The window's colour palettes: light and dark, and the shape of the high-contrast one.
#pragma once

#include <cstdint>

namespace gls {

// Nine 24-bit RGB colours, red in the high byte.
struct Palette {
    std::uint32_t background; // window clear colour, class brush, hover and press tints
    std::uint32_t text;       // titles, folder label and path, checkbox label, secondary button label
    std::uint32_t secondaryText;
    std::uint32_t border;
    std::uint32_t fill;
    std::uint32_t accent;   // primary button fill, ticked checkbox fill
    std::uint32_t onAccent; // primary button label, tick mark
    std::uint32_t muted;    // unticked checkbox border, unrevealed wave bars
    std::uint32_t link;
    // The user's high-contrast colours: no spectrum and no tints, since only the system's own
    // colours are meant to be seen (see high_contrast_palette.h).
    bool highContrast = false;
};

inline constexpr Palette kLightPalette = {0xF4F5F7, 0x17191C, 0x5A606B, 0xD3D6DC, 0xE7E9ED,
                                          0x17191C, 0xFFFFFF, 0xAEB3BD, 0x0B57B8, false};
inline constexpr Palette kDarkPalette = {0x16181B, 0xECEEF1, 0xA3A9B3, 0x363A41, 0x24272C,
                                         0xECEEF1, 0x16181B, 0x555A63, 0x8AB4F8, false};

inline const Palette& paletteFor(bool light) { return light ? kLightPalette : kDarkPalette; }

// The same three bytes as a GDI colour reference (red in the low byte).
inline std::uint32_t gdiColor(std::uint32_t rgb)
{
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

} // namespace gls
