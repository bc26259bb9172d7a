// The screen layout measured with the real DirectWrite: button widths and the folder path's
// middle ellipsis.
#include "core/palette.h"
#include "core/screen_layout.h"
#include "ui/fonts.h"
#include "ui/painter.h"

#include <gtest/gtest.h>

namespace {

struct Measuring {
    gls::FontChoice fonts;
    gls::Painter painter;
    Measuring()
    {
        gls::chooseFonts(fonts);
        painter.fonts = &fonts;
        painter.palette = gls::kLightPalette;
    }
};

} // namespace

TEST(Drawing, ButtonsGrowWithTheirLabelsAndKeepTheirGap)
{
    Measuring m;
    gls::ScreenState s;
    s.screen = gls::Screen::Welcome;
    s.installFolder = L"C:\\Users\\A Tester\\AppData\\Local\\Programs\\Glimmerline";
    gls::ScreenLayout welcome = gls::layoutScreen(s, gls::measuring(m.painter));
    ASSERT_TRUE(welcome.has(gls::Target::Primary) && welcome.has(gls::Target::Secondary));
    EXPECT_FLOAT_EQ(welcome.primary().right - welcome.primary().left, 104); // "Install" is short
    EXPECT_FLOAT_EQ(welcome.primary().right, 416);
    EXPECT_FLOAT_EQ(welcome.secondary().right, welcome.primary().left - 8);
    EXPECT_TRUE(welcome.has(gls::Target::Change) && welcome.has(gls::Target::License));
    EXPECT_GT(gls::measureText(m.painter, L"License Agreement", 14, 600), 50.0f); // the fonts measure

    s.screen = gls::Screen::EndApp;
    gls::ScreenLayout end = gls::layoutScreen(s, gls::measuring(m.painter));
    float width = end.primary().right - end.primary().left;
    EXPECT_GT(width, 104);
    EXPECT_FLOAT_EQ(width, gls::measureText(m.painter, L"End Glimmerline", 14, 600) + 40);
    EXPECT_FLOAT_EQ(end.secondary().right, end.primary().left - 8);
    EXPECT_FALSE(end.has(gls::Target::Checkbox));
    EXPECT_FALSE(end.has(gls::Target::Change));

    s.screen = gls::Screen::Progress;
    gls::ScreenLayout progress = gls::layoutScreen(s, gls::measuring(m.painter));
    EXPECT_FALSE(progress.has(gls::Target::Primary) || progress.has(gls::Target::Secondary));
}

TEST(Drawing, LongFolderIsShortenedInTheMiddle)
{
    Measuring m;
    gls::ScreenState s;
    s.screen = gls::Screen::Welcome;
    s.installFolder = L"C:\\Users\\A Tester With A Long Name\\AppData\\Local\\Programs\\Studio Tools\\Glimmerline";
    gls::ScreenLayout l = gls::layoutScreen(s, gls::measuring(m.painter));
    float room = l.folderPath.right - l.folderPath.left;
    EXPECT_LT(l.folderPath.right, l.change().left); // never under "Change…"
    EXPECT_NE(l.folderText, s.installFolder);
    EXPECT_EQ(l.folderText.rfind(L"C:\\Users", 0), 0u);
    EXPECT_TRUE(l.folderText.ends_with(L"Glimmerline"));
    EXPECT_NE(l.folderText.find(L'\u2026'), std::wstring::npos);
    EXPECT_LE(gls::measureText(m.painter, l.folderText, 14, 400), room);

    s.installFolder = L"C:\\Glimmerline";
    EXPECT_EQ(gls::layoutScreen(s, gls::measuring(m.painter)).folderText, L"C:\\Glimmerline");
}
