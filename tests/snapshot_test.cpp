// The snapshot tool of the real setup under Xvfb: every scene in both palettes at both scales,
// the fit report and its pictures, and no log.
#include "e2e_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace gls::test;

namespace {

using SnapshotTool = SetupRun;

// Width and height from a PNG file's header.
std::pair<unsigned, unsigned> pngSize(const std::wstring& path)
{
    std::string b = readFile(path);
    if (b.size() < 24 || b.compare(1, 3, "PNG") != 0) return {0, 0};
    auto be = [&](size_t at) {
        return (static_cast<unsigned>(static_cast<unsigned char>(b[at])) << 24) |
               (static_cast<unsigned char>(b[at + 1]) << 16) | (static_cast<unsigned char>(b[at + 2]) << 8) |
               static_cast<unsigned char>(b[at + 3]);
    };
    return {be(16), be(20)};
}

} // namespace

TEST_F(SnapshotTool, DrawsEveryScenePaletteAndScaleAndTheFitReport)
{
    std::wstring out = folder / L"shots";
    auto run = setup(L"--ui-snapshot \"" + out + L"\"");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    size_t pictures = 0;
    for (const auto& e : std::filesystem::directory_iterator(out)) pictures += e.path().extension() == L".png";
    EXPECT_EQ(pictures, 84u + 10u);
    EXPECT_EQ(pngSize(out + L"\\1_welcome_light_100.png"), std::make_pair(440u, 388u));
    EXPECT_EQ(pngSize(out + L"\\a_remove_error_dark_150.png"), std::make_pair(660u, 582u));
    for (const wchar_t* fit : {L"fit_1024x600_100.png", L"fit_1024x600_125.png", L"fit_1280x720_150.png",
                               L"fit_1366x768_100.png", L"fit_1366x768_150.png", L"fit_1920x515_100.png",
                               L"fit_1920x515_125.png", L"fit_1920x515_150.png", L"fit_1920x515_200.png",
                               L"fit_800x600_100.png"}) {
        EXPECT_GT(pngSize(out + L"\\" + fit).first, 0u) << narrow(fit);
    }
    std::string report = readFile(out + L"\\fits.txt");
    EXPECT_EQ(report.rfind("the setup's window (inside 440 x 388 DIPs) on screens of these shapes:\r\n", 0), 0u);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 17);
    EXPECT_NE(report.find("1920 x 1080 at 100%, work area 1920 x 1032: window "), std::string::npos);
    EXPECT_NE(report.find("1920 x  515 at 200%, work area 1920 x  515: window "), std::string::npos);
    EXPECT_NE(report.find(", drawn smaller, all on the screen\r\n"), std::string::npos);
    EXPECT_FALSE(exists(folder / L"Temp\\Glimmerline-Setup.log")); // the log stays closed
}

TEST_F(SnapshotTool, WinsOverTheUninstallerRole)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    std::wstring uninstaller = installDir() + L"\\Uninstall.exe";
    auto run = runSetup(uninstaller, folder.path(), L"--ui-snapshot \"" + (folder / L"shots") + L"\"");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(exists(installDir() + L"\\Glimmerline.exe")); // nothing was removed
    EXPECT_TRUE(exists(folder / L"shots\\5_done_light_100.png"));
}
