// The window's fit: pure arithmetic over screen shapes, DPIs and frames, a text's room in its box;
// and the first screen.
#include "core/screen_state.h"
#include "core/window_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>

using gls::fitWindow;

namespace {

// A caption and borders that grow with the DPI, as the system's do.
int frameW(unsigned dpi) { return static_cast<int>(std::lround(16.0 * dpi / 96)); }
int frameH(unsigned dpi) { return static_cast<int>(std::lround(39.0 * dpi / 96)); }

} // namespace

TEST(WindowFit, SixteenScreenShapesAllFit)
{
    ASSERT_EQ(std::size(gls::kScreenShapes), 16u);
    EXPECT_EQ(gls::workHeightOf({1920, 1080, 144, true}), 1080 - 72);
    EXPECT_EQ(gls::workHeightOf({1920, 515, 144, false}), 515);
    for (const gls::ScreenShape& s : gls::kScreenShapes) {
        int workW = s.width, workH = gls::workHeightOf(s);
        gls::WindowFit fit = fitWindow(workW, workH, s.dpi, frameW(s.dpi), frameH(s.dpi));
        std::string label = std::to_string(s.width) + "x" + std::to_string(s.height) + "@" + std::to_string(s.dpi);
        EXPECT_LE(fit.width, workW) << label;
        EXPECT_LE(fit.height, workH) << label;
        EXPECT_GE(fit.zoom, 0.5f) << label;
        EXPECT_LE(fit.zoom, 1.0f) << label;
        EXPECT_FLOAT_EQ(fit.scale, fit.zoom * s.dpi / 96.0f) << label;
        EXPECT_EQ(fit.height, frameH(s.dpi) + std::lround(fit.scale * 388)) << label; // nothing clipped
    }
    // Large screens show the full size; the 515-pixel-high ones shrink it.
    EXPECT_EQ(fitWindow(1920, 1032, 96, 16, 39).zoom, 1.0f);
    EXPECT_LT(fitWindow(1920, 515, 192, frameW(192), frameH(192)).zoom, 1.0f);
}

TEST(WindowFit, At144DpiTheClientAreaIs660By582)
{
    gls::WindowFit fit = fitWindow(2560, 1392, 144, 24, 58);
    EXPECT_FLOAT_EQ(fit.scale, 1.5f);
    EXPECT_EQ(fit.width - 24, 660);
    EXPECT_EQ(fit.height - 58, 582);
}

TEST(WindowFit, SmallWorkAreasShrinkDownToHalfThenClip)
{
    gls::WindowFit smaller = fitWindow(800, 300, 96, 16, 39);
    EXPECT_NEAR(smaller.zoom, (300.0f - 39) / 388, 1e-6);
    EXPECT_EQ(smaller.height, 300);

    gls::WindowFit tiny = fitWindow(300, 200, 96, 16, 39);
    EXPECT_EQ(tiny.zoom, 0.5f);
    EXPECT_EQ(tiny.width, 16 + 220); // half size fits across
    EXPECT_EQ(tiny.height, 200);     // and is clipped down
    EXPECT_EQ(fitWindow(10, 10, 96, 16, 39).width, 17);
}

// Measured with other fonts than the user's, a text needs 8 % of its width to spare.
TEST(WindowFit, ATextFitsItsBoxOnlyWithRoomToSpare)
{
    struct Row {
        float text, box;
        bool fits;
    };
    const Row rows[] = {
        {100, 108.5f, true}, {100, 107.5f, false}, {370, 392, false}, // would fit without the margin
        {362, 392, true},    {392, 392, false},    {420, 392, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(gls::fitsWithMargin(row.text, row.box), row.fits) << row.text << " in " << row.box;
    }
}

TEST(ScreenStates, FirstScreenAndWhatClosingReturns)
{
    gls::ScreenState install;
    EXPECT_EQ(gls::firstScreen(install, false), gls::Screen::Welcome);
    install.osBuild = 14392;
    EXPECT_EQ(gls::firstScreen(install, false), gls::Screen::OldWindows);
    install.osBuild = 1;
    EXPECT_EQ(gls::firstScreen(install, false), gls::Screen::OldWindows);
    install.osBuild = 14393;
    EXPECT_EQ(gls::firstScreen(install, false), gls::Screen::Welcome);
    gls::ScreenState uninstall;
    uninstall.uninstalling = true;
    EXPECT_EQ(gls::firstScreen(uninstall, false), gls::Screen::RemoveConfirm);
    EXPECT_EQ(gls::firstScreen(uninstall, true), gls::Screen::NotInstalled);

    EXPECT_EQ(gls::closeResult(gls::Screen::Done), gls::ExitCode::Done);
    EXPECT_EQ(gls::closeResult(gls::Screen::Removed), gls::ExitCode::Done);
    EXPECT_EQ(gls::closeResult(gls::Screen::Error), gls::ExitCode::Failed);
    EXPECT_EQ(gls::closeResult(gls::Screen::NotInstalled), gls::ExitCode::Cancelled);
    EXPECT_EQ(gls::closeResult(gls::Screen::Welcome), gls::ExitCode::Cancelled);
}
