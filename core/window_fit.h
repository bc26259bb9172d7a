// How big the window is on a monitor: the 440 x 388 DIP design scaled by the monitor's DPI,
// shrunk to fit the work area down to half size, and clipped below that; and the room a text
// needs in its box. Pure arithmetic.
#pragma once

namespace gls {

inline constexpr int kDesignWidth = 440;
inline constexpr int kDesignHeight = 388;

struct WindowFit {
    int width = 0; // whole window, pixels
    int height = 0;
    float zoom = 1.0f;  // 0.5 to 1: how much of the DPI size the work area allows
    float scale = 1.0f; // pixels per DIP
};

// frameWidth and frameHeight: the pixels the caption and borders add at that DPI.
WindowFit fitWindow(int workWidth, int workHeight, unsigned dpi, int frameWidth, int frameHeight);

// A screen the window must fit: its pixels, its DPI, and whether a taskbar takes its bottom.
struct ScreenShape {
    int width, height;
    unsigned dpi;
    bool taskbar;
};

// Sixteen common shapes, the low 515-pixel ones without a taskbar.
inline constexpr ScreenShape kScreenShapes[] = {
    {1024, 600, 96, true},  {1024, 600, 120, true},  {1280, 720, 144, true},  {1366, 768, 96, true},
    {1366, 768, 144, true}, {1920, 1080, 96, true},  {1920, 1080, 144, true}, {1920, 1080, 192, true},
    {1920, 515, 96, false}, {1920, 515, 120, false}, {1920, 515, 144, false}, {1920, 515, 192, false},
    {2560, 1440, 96, true}, {2560, 1440, 192, true}, {3840, 2160, 288, true}, {800, 600, 96, true}};

// The height the shape leaves the window: all of it, less a taskbar 48 DIPs high.
int workHeightOf(const ScreenShape& shape);

// Texts are measured with the fonts at hand, and the user's may draw them wider: Wine has
// neither "Segoe UI Variable Text" nor "Bahnschrift", and its stand-ins differ letter by letter.
// A text on one line fits its box only with this share of its own width to spare.
inline constexpr float kTextMargin = 0.08f;

// Whether a text of that width fits a box of that width with kTextMargin to spare.
bool fitsWithMargin(float textWidth, float boxWidth);

} // namespace gls
