// The window's fit on a monitor, and a text's in its box.
#include "window_fit.h"

#include <algorithm>
#include <cmath>

namespace gls {

WindowFit fitWindow(int workWidth, int workHeight, unsigned dpi, int frameWidth, int frameHeight)
{
    float dpiScale = static_cast<float>(dpi) / 96.0f;
    float ratioH = static_cast<float>(workHeight - frameHeight) / (dpiScale * kDesignHeight);
    float ratioW = static_cast<float>(workWidth - frameWidth) / (dpiScale * kDesignWidth);
    WindowFit fit;
    fit.zoom = std::max(0.5f, std::min(1.0f, std::min(ratioH, ratioW)));
    fit.scale = fit.zoom * dpiScale;
    fit.width = std::min(std::max(workWidth, frameWidth + 1),
                         frameWidth + static_cast<int>(std::lround(fit.scale * kDesignWidth)));
    fit.height = std::min(std::max(workHeight, frameHeight + 1),
                          frameHeight + static_cast<int>(std::lround(fit.scale * kDesignHeight)));
    return fit;
}

int workHeightOf(const ScreenShape& shape)
{
    return shape.height - (shape.taskbar ? static_cast<int>(std::lround(48.0 * shape.dpi / 96)) : 0);
}

bool fitsWithMargin(float textWidth, float boxWidth) { return textWidth * (1 + kTextMargin) <= boxWidth; }

} // namespace gls
