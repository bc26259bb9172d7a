// How big the window is on a monitor: the 440 x 388 DIP design scaled by the monitor's DPI,
// shrunk to fit the work area down to half size, and clipped below that. Pure arithmetic.
#pragma once

namespace gls {

inline constexpr int kDesignWidth = 440;
inline constexpr int kDesignHeight = 388;

struct WindowFit {
    int width = 0;     // whole window, pixels
    int height = 0;
    float zoom = 1.0f; // 0.5 to 1: how much of the DPI size the work area allows
    float scale = 1.0f; // pixels per DIP
};

// frameWidth and frameHeight: the pixels the caption and borders add at that DPI.
WindowFit fitWindow(int workWidth, int workHeight, unsigned dpi, int frameWidth, int frameHeight);

} // namespace gls
