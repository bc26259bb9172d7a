// The snapshot tool of the real setup under Xvfb: every scene in both palettes at both scales,
// the fit report and its pictures, and no log.
#include "e2e_fixture.h"
#include "platform/com_apartment.h"
#include "platform/unique_handle.h"
#include "product_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <wincodec.h>

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

// One pixel of a PNG as 0xRRGGBB, read with the Windows Imaging Component; ~0u on failure.
unsigned pixelAt(const std::wstring& path, unsigned x, unsigned y)
{
    gls::ComApartment com;
    gls::ComPtr<IWICImagingFactory> wic;
    gls::ComPtr<IWICBitmapDecoder> decoder;
    gls::ComPtr<IWICBitmapFrameDecode> frame;
    gls::ComPtr<IWICFormatConverter> converter;
    unsigned char bgra[4] = {};
    WICRect one = {static_cast<INT>(x), static_cast<INT>(y), 1, 1};
    bool ok = SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IWICImagingFactory, wic.putVoid())) &&
              SUCCEEDED(wic->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                       WICDecodeMetadataCacheOnDemand, decoder.put())) &&
              SUCCEEDED(decoder->GetFrame(0, frame.put())) && SUCCEEDED(wic->CreateFormatConverter(converter.put())) &&
              SUCCEEDED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                              nullptr, 0, WICBitmapPaletteTypeCustom)) &&
              SUCCEEDED(converter->CopyPixels(&one, 4, 4, bgra));
    return ok ? (static_cast<unsigned>(bgra[2]) << 16) | (bgra[1] << 8) | bgra[0] : ~0u;
}

} // namespace

TEST_F(SnapshotTool, UnwritableFolderFails)
{
    ASSERT_TRUE(writeFile(folder / L"not-a-folder", "x"));
    auto run = setup(L"--ui-snapshot \"" + (folder / L"not-a-folder\\shots") + L"\"");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1u);
}

TEST_F(SnapshotTool, DrawsEveryScenePaletteAndScaleWithItsElementsInPlaceAndTheFitReport)
{
    std::wstring out = folder / L"shots";
    auto run = setup(L"--ui-snapshot \"" + out + L"\"");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    size_t pictures = 0;
    for (const auto& e : std::filesystem::directory_iterator(out)) pictures += e.path().extension() == L".png";
    // 28 scenes, light and dark at two scales, high-contrast black and white at one.
    EXPECT_EQ(pictures, 28u * 6u + 10u);

    // Pixel probes: each element is drawn where the layout puts it.
    struct Probe {
        const wchar_t* picture;
        unsigned x, y, colour;
    };
    const Probe probes[] = {
        {L"1_welcome_light_100.png", 318, 346, 0x17191C},  // the primary button's fill, left of its label
        {L"1_welcome_light_150.png", 477, 519, 0x17191C},  // the same at 150 %
        {L"3_close_app_dark_100.png", 432, 100, 0x16181B}, // the dark background in the right margin
        {L"9_removed_kept_light_100.png", 24 + 49 * 4 + 1, 77, 0xAEB3BD}, // the removed screen's band is grey
        {L"4_progress_45_light_100.png", 24 + 90 * 4 + 1, 77, 0xAEB3BD},  // the progress band's right part too
        // High contrast draws in the system's colours: background, highlight, and the wave band
        // in the text colour where it is revealed and in grey text where it is not.
        {L"1_welcome_hcblack_100.png", 432, 100, 0x000000},
        {L"1_welcome_hcblack_100.png", 318, 346, 0x1AEBFF},
        {L"1_welcome_hcwhite_100.png", 24 + 49 * 4 + 1, 77, 0x000000},
        {L"4_progress_45_hcblack_100.png", 24 + 90 * 4 + 1, 77, 0x3FF23F},
        // The focus ring around the "Done" button (312 to 416): 3 DIPs out, with background between.
        {L"5_done_focus_primary_light_100.png", 309, 346, 0x17191C},
        {L"5_done_focus_primary_light_100.png", 311, 346, 0xF4F5F7},
        {L"5_done_focus_primary_dark_150.png", 463, 519, 0xECEEF1},
    };
    for (const Probe& probe : probes) {
        EXPECT_EQ(pixelAt(out + L"\\" + probe.picture, probe.x, probe.y), probe.colour)
            << narrow(probe.picture) << " at " << probe.x << "," << probe.y;
    }
    unsigned left = pixelAt(out + L"\\4_progress_45_light_100.png", 24 + 10 * 4 + 1, 77);
    EXPECT_NE(left, 0xAEB3BDu); // coloured on the left
    EXPECT_NE(left, 0xF4F5F7u);

    EXPECT_EQ(pngSize(out + L"\\1_welcome_light_100.png"), std::make_pair(440u, 388u));
    EXPECT_EQ(pngSize(out + L"\\a_remove_error_dark_150.png"), std::make_pair(660u, 582u));
    for (const wchar_t* fit :
         {L"fit_1024x600_100.png", L"fit_1024x600_125.png", L"fit_1280x720_150.png", L"fit_1366x768_100.png",
          L"fit_1366x768_150.png", L"fit_1920x515_100.png", L"fit_1920x515_125.png", L"fit_1920x515_150.png",
          L"fit_1920x515_200.png", L"fit_800x600_100.png"}) {
        EXPECT_GT(pngSize(out + L"\\" + fit).first, 0u) << narrow(fit);
    }
    std::string report = readFile(out + L"\\fits.txt");
    EXPECT_EQ(report.rfind("the setup's window (inside 440 x 388 DIPs) on screens of these shapes:\r\n", 0), 0u);
    EXPECT_NE(report.find("1920 x 1080 at 100%, work area 1920 x 1032: window "), std::string::npos);
    EXPECT_NE(report.find("1920 x  515 at 200%, work area 1920 x  515: window "), std::string::npos);
    EXPECT_NE(report.find(", drawn smaller, all on the screen\r\n"), std::string::npos);
    // After the 16 shapes, every one-line text with what it has to spare: each fits with the margin.
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = report.find("\r\n", at)) != std::string::npos; at = end + 2) {
        lines.push_back(report.substr(at, end - at));
    }
    ASSERT_GT(lines.size(), 18u);
    EXPECT_EQ(lines[17], "every text on one line needs 8% of its width to spare in its box, and every text that wraps "
                         "fits its box's height in a box 8% narrower, for fonts that draw them wider than these:");
    for (size_t i = 18; i < lines.size(); ++i) {
        EXPECT_NE(lines[i].find(" DIPs"), std::string::npos) << lines[i];
        EXPECT_NE(lines[i].find("% to spare, fits: "), std::string::npos) << lines[i];
    }
    auto lineOf = [&](const std::string& text) {
        auto found = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.ends_with(text); });
        return found == lines.end() ? std::string() : *found;
    };
    EXPECT_EQ(lineOf(": That folder is not on this PC. Pick one that is.").rfind("2_welcome_folder_network ", 0), 0u);
    EXPECT_TRUE(lineOf(": License Agreement").empty()); // a link's box is its own width, measured as drawn
    EXPECT_FALSE(exists(folder / kTestLog));            // the log stays closed
}

// Every scene in every other language, each text fitting its box with the margin; the folder's
// pictures as in English.
TEST_F(SnapshotTool, EveryLanguageFitsEveryScene)
{
    for (const wchar_t* tag : {L"de", L"es", L"fr", L"ja", L"zh-Hans"}) {
        SCOPED_TRACE(narrow(tag));
        std::wstring out = folder / (std::wstring(L"shots-") + tag);
        auto run = setup(std::wstring(L"/LANG=") + tag + L" --ui-snapshot \"" + out + L"\"");
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 0u);
        size_t pictures = 0;
        for (const auto& e : std::filesystem::directory_iterator(out)) pictures += e.path().extension() == L".png";
        EXPECT_EQ(pictures, 28u * 6u + 10u);
        std::string report = readFile(out + L"\\fits.txt");
        size_t texts = 0;
        for (size_t at = 0, end; (end = report.find("\r\n", at)) != std::string::npos; at = end + 2) {
            std::string line = report.substr(at, end - at);
            if (line.find("% to spare, ") == std::string::npos) continue; // not a text's line
            ++texts;
            EXPECT_NE(line.find("% to spare, fits: "), std::string::npos) << line;
        }
        EXPECT_GT(texts, 40u);
    }
}

TEST_F(SnapshotTool, WinsOverTheUninstallerRole)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    std::wstring uninstaller = uninstallerIn(installDir());
    auto run = runSetup(uninstaller, folder.path(), L"--ui-snapshot \"" + (folder / L"shots") + L"\"");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(exists(appExeIn(installDir()))); // nothing was removed
    EXPECT_TRUE(exists(folder / L"shots\\5_done_light_100.png"));
}
