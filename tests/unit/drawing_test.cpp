// The screen layout measured with the real DirectWrite: button widths and the folder path's
// middle ellipsis.
#include "core/palette.h"
#include "core/screen_layout.h"
#include "ui/fonts.h"
#include "ui/painter.h"

#include <gtest/gtest.h>

namespace {

// The welcome screen, laid out with the real fonts.
class Drawing : public ::testing::Test {
protected:
    Drawing()
    {
        gls::chooseFonts(fonts);
        painter.fonts = &fonts;
        painter.palette = gls::kLightPalette;
        state.screen = gls::Screen::Welcome;
    }
    gls::ScreenLayout layout() const { return gls::layoutScreen(state, gls::measuring(painter)); }
    float measure(const std::wstring& text, float size, int weight) const
    {
        return gls::measureText(painter, text, size, weight);
    }

    gls::FontChoice fonts;
    gls::Painter painter;
    gls::ScreenState state;
};

} // namespace

TEST_F(Drawing, ButtonsGrowWithTheirLabelsAndKeepTheirGap)
{
    state.installFolder = L"C:\\Users\\A Tester\\AppData\\Local\\Programs\\Glimmerline";
    gls::ScreenLayout welcome = layout();
    ASSERT_TRUE(welcome.has(gls::Target::Primary) && welcome.has(gls::Target::Secondary));
    EXPECT_FLOAT_EQ(welcome.primary().right - welcome.primary().left, 104); // "Install" is short
    EXPECT_FLOAT_EQ(welcome.primary().right, 416);
    EXPECT_FLOAT_EQ(welcome.secondary().right, welcome.primary().left - 8);
    EXPECT_TRUE(welcome.has(gls::Target::Change) && welcome.has(gls::Target::License));
    EXPECT_GT(measure(L"License Agreement", 14, 600), 50.0f); // the fonts measure

    state.screen = gls::Screen::EndApp;
    gls::ScreenLayout end = layout();
    float width = end.primary().right - end.primary().left;
    EXPECT_GT(width, 104);
    EXPECT_FLOAT_EQ(width, measure(L"End Glimmerline", 14, 600) + 40);
    EXPECT_FLOAT_EQ(end.secondary().right, end.primary().left - 8);
    EXPECT_FALSE(end.has(gls::Target::Checkbox));
    EXPECT_FALSE(end.has(gls::Target::Change));

    state.screen = gls::Screen::Progress;
    gls::ScreenLayout progress = layout();
    EXPECT_FALSE(progress.has(gls::Target::Primary) || progress.has(gls::Target::Secondary));
}

TEST_F(Drawing, LongFolderIsShortenedInTheMiddle)
{
    state.installFolder = L"C:\\Users\\A Tester With A Long Name\\AppData\\Local\\Programs\\Studio Tools\\Glimmerline";
    gls::ScreenLayout l = layout();
    float room = l.folderPath.right - l.folderPath.left;
    EXPECT_LT(l.folderPath.right, l.change().left); // never under "Change…"
    EXPECT_NE(l.folderText, state.installFolder);
    EXPECT_EQ(l.folderText.rfind(L"C:\\Users", 0), 0u);
    EXPECT_TRUE(l.folderText.ends_with(L"Glimmerline"));
    EXPECT_NE(l.folderText.find(L'\u2026'), std::wstring::npos);
    EXPECT_LE(measure(l.folderText, 14, 400), room);

    state.installFolder = L"C:\\Glimmerline";
    EXPECT_EQ(layout().folderText, L"C:\\Glimmerline");
}
