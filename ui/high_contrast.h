// The palette the window paints with: the user's high-contrast colours when such a theme is on.
#pragma once

#include "core/palette.h"

namespace gls {

// The system colours when a high-contrast theme is on (SPI_GETHIGHCONTRAST), else the light or
// the dark palette.
Palette windowPalette(bool light);

} // namespace gls
