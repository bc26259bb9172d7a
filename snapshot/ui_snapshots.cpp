// Draws the setup's screens offscreen with the window's own layout and painting code, and writes
// them as PNG files through the Windows Imaging Component.
#include "ui_snapshots.h"

#include "core/folder_rules.h"
#include "core/high_contrast_palette.h"
#include "core/palette.h"
#include "core/path_join.h"
#include "core/window_fit.h"
#include "platform/com_apartment.h"
#include "platform/create_folders.h"
#include "platform/text.h"
#include "platform/unique_handle.h"
#include "ui/d2d_factory.h"
#include "ui/fonts.h"
#include "ui/monitor_dpi.h"
#include "ui/paint_screen.h"

#include <windows.h>

#include <d2d1.h>
#include <wincodec.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace gls {

namespace {

struct Scene {
    const wchar_t* name;
    ScreenState state;
    Target hover = Target::None;
    Target focus = Target::None;
};

// The palettes a scene is drawn in, and whether also at 150 %. Windows' own "High Contrast
// Black" and "High Contrast White" themes stand for the user's high-contrast colours.
struct Look {
    const wchar_t* name;
    Palette palette;
    bool alsoLarger;
};

const Look kLooks[] = {
    {L"_light", kLightPalette, true},
    {L"_dark", kDarkPalette, true},
    {L"_hcblack", highContrastPalette({0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x1AEBFF, 0x000000, 0xFFFF00, 0x3FF23F}),
     false},
    {L"_hcwhite", highContrastPalette({0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0x37006E, 0xFFFFFF, 0x00009F, 0x600000}),
     false},
};

ScreenState startingState()
{
    ScreenState s;
    s.installFolder = L"C:\\Users\\A Tester\\AppData\\Local\\Programs\\Glimmerline";
    return s;
}

std::vector<Scene> buildScenes()
{
    auto scene = [](const wchar_t* name, Screen screen, auto change, Target hover = Target::None,
                    Target focus = Target::None) {
        Scene sc{name, startingState(), hover, focus};
        sc.state.screen = screen;
        change(sc.state);
        return sc;
    };
    auto none = [](ScreenState&) {};
    return {
        scene(L"1_welcome", Screen::Welcome, none),
        scene(
            L"1_welcome_hover", Screen::Welcome, [](ScreenState& s) { s.desktopShortcut = true; }, Target::Primary),
        scene(L"1_welcome_license_hover", Screen::Welcome, none, Target::License),
        scene(L"1_welcome_focus_license", Screen::Welcome, none, Target::None, Target::License),
        scene(L"2_welcome_update_mf_longpath", Screen::Welcome,
              [](ScreenState& s) {
                  s.installFolder = L"D:\\Music production\\Tools and plug-ins\\Visual helpers for Ableton Live 12\\"
                                    L"Spectral waveform apps\\Glimmerline";
                  s.desktopShortcut = true;
                  s.appInFolder = true;
                  s.installedVersion = L"0.9.0";
                  s.mediaFeaturePackMissing = true;
              }),
        scene(L"2_welcome_folder_problem", Screen::Welcome,
              [](ScreenState& s) {
                  s.installFolder = L"C:\\";
                  s.folderProblem = Txt::FolderWholeDrive;
              }),
        scene(L"2_welcome_folder_network", Screen::Welcome,
              [](ScreenState& s) {
                  s.installFolder = L"\\\\studio-nas\\apps\\Glimmerline";
                  s.folderProblem = Txt::FolderNotOnThisPc;
              }),
        scene(L"3_close_app", Screen::CloseApp, none),
        scene(L"3_close_app_admin", Screen::CloseApp, [](ScreenState& s) { s.appRunsAsAdmin = true; }),
        scene(L"3_end_app", Screen::EndApp, none),
        scene(L"4_progress_closing", Screen::Progress,
              [](ScreenState& s) {
                  s.closingApp = true;
                  s.progressStep = Txt::StepWaitingForApp;
              }),
        scene(L"4_progress_45", Screen::Progress,
              [](ScreenState& s) {
                  s.progress = 0.45f;
                  s.progressStep = Txt::StepCopying;
              }),
        scene(L"5_done", Screen::Done, none, Target::Primary),
        scene(L"5_done_focus_primary", Screen::Done, none, Target::None, Target::Primary),
        scene(L"5_done_shortcuts_missing", Screen::Done,
              [](ScreenState& s) {
                  s.startMenuShortcutMissing = true;
                  s.desktopShortcutMissing = true;
              }),
        scene(L"6_error", Screen::Error,
              [](ScreenState& s) {
                  s.error = Message(Txt::ErrorFileInUse, {{L"file", L"so_hook.dll"}});
              }),
        scene(L"7_remove_confirm", Screen::RemoveConfirm, [](ScreenState& s) { s.uninstalling = true; }),
        scene(
            L"7_remove_confirm_ticked", Screen::RemoveConfirm,
            [](ScreenState& s) {
                s.uninstalling = true;
                s.removeSettings = true;
            },
            Target::Checkbox),
        scene(L"8_remove_progress", Screen::Progress,
              [](ScreenState& s) {
                  s.uninstalling = true;
                  s.progress = 0.6f;
                  s.progressStep = Txt::StepRemovingShortcuts;
              }),
        scene(L"9_removed_kept", Screen::Removed, [](ScreenState& s) { s.uninstalling = true; }),
        scene(L"9_removed_all", Screen::Removed,
              [](ScreenState& s) {
                  s.uninstalling = true;
                  s.settingsRemoved = true;
              }),
        scene(
            L"9_removed_live_open", Screen::Removed,
            [](ScreenState& s) {
                s.uninstalling = true;
                s.liveScriptKept = true;
            },
            Target::Secondary),
        scene(L"9_removed_live_protected", Screen::Removed,
              [](ScreenState& s) {
                  s.uninstalling = true;
                  s.liveScriptKept = true;
                  s.liveProtectedFolder = L"C:\\Users\\A Tester\\Documents\\Ableton\\User Library\\Remote Scripts";
              }),
        scene(L"9_removed_uninstaller_left", Screen::Removed,
              [](ScreenState& s) {
                  s.uninstalling = true;
                  s.uninstallerLeft = true;
                  s.installFolder = L"C:\\Users\\A Tester\\AppData\\Local\\Programs\\Glimmerline";
              }),
        scene(L"a_not_installed", Screen::NotInstalled, [](ScreenState& s) { s.uninstalling = true; }),
        scene(L"a_old_windows", Screen::OldWindows, [](ScreenState& s) { s.osBuild = 10240; }),
        scene(L"2_welcome_windows_1809", Screen::Welcome, [](ScreenState& s) { s.osBuild = 17763; }),
        scene(L"a_remove_error", Screen::Error,
              [](ScreenState& s) {
                  s.uninstalling = true;
                  s.error = Message(Txt::ErrorFilesInUse,
                                    {{L"folder", L"C:\\Users\\A Tester\\AppData\\Local\\Programs\\Glimmerline"}});
              }),
    };
}

struct Tools {
    ComPtr<IWICImagingFactory> wic;
    ComPtr<ID2D1Factory> d2d;
    FontChoice fonts;
};

// lines: when set, the one-line texts the picture drew, for the fit report.
bool drawPicture(const Tools& tools, const ScreenState& state, Target hover, Target focus, const Palette& palette,
                 float scale, const std::wstring& path, std::vector<DrawnLine>* lines = nullptr)
{
    UINT width = static_cast<UINT>(std::lround(scale * kDesignWidth));
    UINT height = static_cast<UINT>(std::lround(scale * kDesignHeight));
    ComPtr<IWICBitmap> bitmap;
    if (FAILED(tools.wic->CreateBitmap(width, height, GUID_WICPixelFormat32bppPBGRA, WICBitmapCacheOnLoad,
                                       bitmap.put()))) {
        return false;
    }
    D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties(
        D2D1_RENDER_TARGET_TYPE_DEFAULT, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED),
        96.0f * scale, 96.0f * scale);
    ComPtr<ID2D1RenderTarget> target;
    if (FAILED(tools.d2d->CreateWicBitmapRenderTarget(bitmap.get(), properties, target.put()))) return false;
    target->SetTextAntialiasMode(D2D1_TEXT_ANTIALIAS_MODE_GRAYSCALE);
    target->BeginDraw();
    {
        ComPtr<ID2D1SolidColorBrush> brush;
        if (FAILED(target->CreateSolidColorBrush(D2D1::ColorF(1, 1, 1, 1), brush.put()))) {
            target->EndDraw();
            return false;
        }
        Painter painter{target.get(), &tools.fonts, palette, brush.get(), lines};
        paintScreen(painter, state, hover, Target::None, focus);
    }
    if (FAILED(target->EndDraw())) return false;

    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppPBGRA;
    return SUCCEEDED(tools.wic->CreateStream(stream.put())) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(tools.wic->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) &&
           SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(frame.put(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
           SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
           SUCCEEDED(frame->WriteSource(bitmap.get(), nullptr)) && SUCCEEDED(frame->Commit()) &&
           SUCCEEDED(encoder->Commit());
}

// The one-line texts a scene drew.
struct SceneLines {
    const wchar_t* scene;
    std::vector<DrawnLine> lines;
};

// Each text with what it needs and what its box has: a one-line text its width, a text that wraps
// its height when wrapped in a box narrower by the margin; once for every text and box.
void writeTextFits(std::FILE* report, const std::vector<SceneLines>& scenes)
{
    std::fprintf(report,
                 "every text on one line needs %.0f%% of its width to spare in its box, and every text that wraps "
                 "fits its box's height in a box %.0f%% narrower, for fonts that draw them wider than these:\n",
                 static_cast<double>(kTextMargin * 100), static_cast<double>(kTextMargin * 100));
    std::set<std::tuple<std::wstring, float, bool>> seen;
    for (const SceneLines& scene : scenes) {
        for (const DrawnLine& line : scene.lines) {
            if (!seen.insert({line.text, line.room, line.wrapped}).second) continue;
            bool fits = line.wrapped ? line.width <= line.room : fitsWithMargin(line.width, line.room);
            const char* verdict = line.width <= 0 ? "NOT MEASURED"
                                  : fits          ? "fits"
                                  : line.wrapped  ? "TOO TALL"
                                                  : "TOO WIDE";
            double spare = line.width > 0 ? (line.room - line.width) * 100.0 / line.width : 0.0;
            std::wstring text = line.text;
            std::replace(text.begin(), text.end(), L'\n', L' ');
            std::fprintf(report, "%-28ls %5.1f of %5.1f DIPs%s, %4.0f%% to spare, %s: %s\n", scene.scene,
                         static_cast<double>(line.width), static_cast<double>(line.room), line.wrapped ? " high" : "",
                         spare, verdict, toUtf8(text).c_str());
        }
    }
}

// The fit report and the pictures of the low screens. False when a picture failed.
bool writeFitReport(const Tools& tools, const std::wstring& folder, const std::vector<SceneLines>& texts)
{
    UniqueStdioFile report(_wfopen(joinPath(folder, L"fits.txt").c_str(), L"w"));
    if (!report) return true; // no report, and no pictures for it; this alone is no failure
    std::fprintf(report.get(), "the setup's window (inside %.0f x %.0f DIPs) on screens of these shapes:\n",
                 static_cast<double>(kDesignWidth), static_cast<double>(kDesignHeight));
    bool ok = true;
    for (const ScreenShape& shape : kScreenShapes) {
        int workWidth = shape.width, workHeight = workHeightOf(shape);
        SIZE frame = frameForDpi(shape.dpi);
        WindowFit fit = fitWindow(workWidth, workHeight, shape.dpi, frame.cx, frame.cy);
        bool fits = fit.width <= workWidth && fit.height <= workHeight;
        unsigned percent = shape.dpi * 100 / 96;
        std::fprintf(report.get(), "%4d x %4d at %3u%%, work area %4d x %4d: window %4d x %4d, %s, %s\n", shape.width,
                     shape.height, percent, workWidth, workHeight, fit.width, fit.height,
                     fit.zoom < 1 ? "drawn smaller" : "full size", fits ? "all on the screen" : "DOES NOT FIT");
        if (shape.height <= 768) {
            wchar_t name[64];
            std::swprintf(name, 64, L"fit_%dx%d_%u.png", shape.width, shape.height, percent);
            ScreenState state = startingState();
            state.mediaFeaturePackMissing = true;
            ok = drawPicture(tools, state, Target::None, Target::None, kLightPalette, fit.scale,
                             joinPath(folder, name)) &&
                 ok;
        }
    }
    writeTextFits(report.get(), texts);
    return ok;
}

} // namespace

bool writeUiSnapshots(const std::wstring& folder, std::string& failures)
{
    ComApartment com;
    Tools tools;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory2, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  tools.wic.putVoid())) ||
        !createD2DFactory(tools.d2d) || !chooseFonts(tools.fonts)) {
        failures += "no WIC, Direct2D or DirectWrite";
        return false;
    }
    createFolders(folder);

    bool ok = true;
    std::vector<SceneLines> texts;
    for (const Scene& scene : buildScenes()) {
        // The texts are the same in every look and at every scale: noted from the first picture.
        std::vector<DrawnLine>* lines = &texts.emplace_back(SceneLines{scene.name, {}}).lines;
        for (const Look& look : kLooks) {
            for (float scale : {1.0f, 1.5f}) {
                if (scale > 1 && !look.alsoLarger) continue;
                std::wstring name = std::wstring(scene.name) + look.name + (scale > 1 ? L"_150.png" : L"_100.png");
                ok = drawPicture(tools, scene.state, scene.hover, scene.focus, look.palette, scale,
                                 joinPath(folder, name), lines) &&
                     ok;
                lines = nullptr;
            }
        }
    }
    ok = writeFitReport(tools, folder, texts) && ok;
    if (!ok) failures += "a picture could not be written";
    return ok;
}

} // namespace gls
