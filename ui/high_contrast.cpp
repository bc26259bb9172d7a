// The palette the window paints with, read from the system's high-contrast setting and colours.
#include "high_contrast.h"

#include "core/high_contrast_palette.h"

#include <windows.h>

namespace gls {

namespace {

// A system colour as 24-bit RGB; swapping red and blue undoes the GDI order as well.
std::uint32_t systemColour(int index) { return gdiColor(::GetSysColor(index)); }

bool highContrastOn()
{
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof(contrast);
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

} // namespace

Palette windowPalette(bool light)
{
    if (!highContrastOn()) return paletteFor(light);
    return highContrastPalette({systemColour(COLOR_WINDOW), systemColour(COLOR_WINDOWTEXT), systemColour(COLOR_BTNFACE),
                                systemColour(COLOR_BTNTEXT), systemColour(COLOR_HIGHLIGHT),
                                systemColour(COLOR_HIGHLIGHTTEXT), systemColour(COLOR_HOTLIGHT),
                                systemColour(COLOR_GRAYTEXT)});
}

} // namespace gls
