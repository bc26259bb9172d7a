// What the screens say, and which elements each screen has.
#include "core/screen_texts.h"

#include "core/languages.h"
#include "core/screen_elements.h"
#include "core/screen_layout.h"
#include "core/texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using gls::Screen;
using gls::ScreenState;

namespace {

ScreenState on(Screen screen, bool uninstalling = false)
{
    ScreenState s;
    s.screen = screen;
    s.uninstalling = uninstalling;
    return s;
}

} // namespace

TEST(ScreenTexts, WelcomeForAnInstallAndAnUpdate)
{
    ScreenState s = on(Screen::Welcome);
    EXPECT_EQ(gls::titleText(s), L"Install Glimmerline");
    EXPECT_EQ(gls::primaryLabel(s), L"Install");
    EXPECT_EQ(gls::secondaryLabel(s), L"Cancel");
    EXPECT_EQ(gls::checkboxLabel(s), L"Add a shortcut to the desktop");
    EXPECT_EQ(gls::bodyText(s), L"Spectral waveforms in Ableton Live's arrangement and clip view.");
    s.appInFolder = true;
    s.installedVersion = L"1.0.2";
    EXPECT_EQ(gls::titleText(s), L"Update Glimmerline");
    EXPECT_EQ(gls::primaryLabel(s), L"Update");
    EXPECT_EQ(gls::bodyText(s).rfind(L"Glimmerline 1.0.2 ", 0), 0u);
    s.installedVersion.clear();
    EXPECT_EQ(gls::bodyText(s).rfind(L"Glimmerline is in this folder", 0), 0u);
}

TEST(ScreenTexts, OneNoticeAtMostInItsOrder)
{
    ScreenState s = on(Screen::Welcome);
    EXPECT_EQ(gls::noticeText(s), L"");
    s.mediaFeaturePackMissing = true;
    EXPECT_EQ(gls::noticeText(s), L"MP3 and M4A files need Windows' Media Feature Pack.");
    s.osBuild = 14393;
    EXPECT_EQ(gls::noticeText(s), L"Glimmerline is made for Windows 10 from version 2004.");
    s.osBuild = 19041;
    EXPECT_EQ(gls::noticeText(s), L"MP3 and M4A files need Windows' Media Feature Pack.");
    s.folderProblem = gls::Txt::FolderPickOne;
    EXPECT_EQ(gls::noticeText(s), L"Pick a folder to install into.");
    s.screen = Screen::Done;
    EXPECT_EQ(gls::noticeText(s), L"");
}

TEST(ScreenTexts, ButtonsPerScreen)
{
    EXPECT_EQ(gls::primaryLabel(on(Screen::Progress)), L"");
    EXPECT_EQ(gls::secondaryLabel(on(Screen::Progress)), L"");
    EXPECT_EQ(gls::secondaryLabel(on(Screen::Error)), L"Back");
    EXPECT_EQ(gls::secondaryLabel(on(Screen::Error, true)), L""); // an uninstall's error has no way back
    EXPECT_EQ(gls::titleText(on(Screen::Error, true)), L"Glimmerline was not fully removed");
    EXPECT_EQ(gls::primaryLabel(on(Screen::NotInstalled, true)), L"Close");
    EXPECT_EQ(gls::checkboxLabel(on(Screen::Done)), L"Open Glimmerline");
    EXPECT_EQ(gls::checkboxLabel(on(Screen::CloseApp)), L"");
    EXPECT_FALSE(gls::checkboxLabel(on(Screen::RemoveConfirm, true)).empty());
    EXPECT_NE(gls::removeHintText(on(Screen::RemoveConfirm, true)).find(L'\n'), std::wstring::npos);

    ScreenState removed = on(Screen::Removed, true);
    EXPECT_EQ(gls::secondaryLabel(removed), L"");
    removed.liveScriptKept = true;
    EXPECT_EQ(gls::secondaryLabel(removed), L"Try again");
    EXPECT_EQ(gls::bodyText(removed),
              L"Live has Glimmerline's script open, so it stays in Live's User Library for now. "
              L"Close Live, then click Try again.");
    // Where Windows protects the library, trying again cannot help.
    removed.liveProtectedFolder = L"C:\\Docs\\User Library\\Remote Scripts";
    EXPECT_EQ(gls::secondaryLabel(removed), L"");
    EXPECT_EQ(gls::bodyText(removed), L"Windows protects Live's User Library, so Glimmerline's files stay in it. "
                                      L"Remove them yourself from C:\\Docs\\User Library\\Remote Scripts.");
    removed.liveProtectedFolder.clear();
    removed.liveScriptKept = false;
    removed.uninstallerLeft = true;
    removed.installFolder = L"C:\\Apps\\Glimmerline";
    EXPECT_EQ(gls::bodyText(removed),
              L"Only Uninstall.exe is left: Windows does not let Setup delete it while it runs. "
              L"Delete C:\\Apps\\Glimmerline once this window is closed.");
    removed.uninstallerLeft = false;
    removed.settingsRemoved = true;
    std::wstring gone = gls::bodyText(removed);
    removed.settingsRemoved = false;
    EXPECT_NE(gls::bodyText(removed), gone);
}

TEST(ScreenTexts, DoneScreenNamesTheShortcutsWindowsDidNotAllow)
{
    ScreenState done = on(Screen::Done);
    EXPECT_EQ(gls::noticeText(done), L"");
    done.desktopShortcutMissing = true;
    EXPECT_EQ(gls::noticeText(done), L"Windows did not let Setup add the desktop shortcut.");
    done.startMenuShortcutMissing = true;
    EXPECT_EQ(gls::noticeText(done), L"Windows did not let Setup add the Start menu and desktop shortcuts.");
    done.desktopShortcutMissing = false;
    EXPECT_EQ(gls::noticeText(done), L"Windows did not let Setup add the Start menu shortcut.");
}

TEST(ScreenTexts, CloseScreenForAnAppThatRunsAsAdministrator)
{
    for (bool uninstalling : {false, true}) {
        ScreenState s = on(Screen::CloseApp, uninstalling);
        s.appRunsAsAdmin = true;
        EXPECT_EQ(gls::titleText(s), L"Glimmerline runs as administrator");
        EXPECT_EQ(gls::bodyText(s), L"Windows does not let Setup close it. Close Glimmerline yourself, then click Try "
                                    L"again.");
        EXPECT_EQ(gls::primaryLabel(s), L"Try again");
        EXPECT_EQ(gls::secondaryLabel(s), L"Back");
    }
    ScreenState asked = on(Screen::CloseApp);
    EXPECT_EQ(gls::titleText(asked), L"Glimmerline is open");
    EXPECT_EQ(gls::primaryLabel(asked), L"Close Glimmerline");
}

TEST(ScreenTexts, ProgressTitleAndOldWindowsBody)
{
    ScreenState p = on(Screen::Progress);
    EXPECT_EQ(gls::titleText(p), L"Installing");
    p.uninstalling = true;
    EXPECT_EQ(gls::titleText(p), L"Removing");
    p.closingApp = true;
    EXPECT_EQ(gls::titleText(p), L"Closing Glimmerline");
    p.progressStep = gls::Txt::StepCopying;
    EXPECT_EQ(gls::bodyText(p), L"Copying files");

    ScreenState old = on(Screen::OldWindows);
    old.osBuild = 14392;
    EXPECT_EQ(gls::bodyText(old), L"It runs on Windows 10 version 2004 or newer, and on Windows 11. This computer has "
                                  L"an older Windows (build 14392).");
}

// Every shipped language has every text, with the placeholders English has, and the welcome
// screen reads in it to a screen reader; the pseudo-language shows any text not from the tables.
TEST(ScreenTexts, EveryLanguageHasEveryTextAndTheWelcomeScreenReadsInIt)
{
    struct Row {
        const char* tag;
        const wchar_t *title, *folder, *checkbox, *license, *cancel, *install;
    };
    const Row rows[] = {
        {"en", L"Install Glimmerline", L"Install folder: C:\\Apps\\Glimmerline", L"Add a shortcut to the desktop",
         L"License Agreement", L"Cancel", L"Install"},
        {"de", L"Glimmerline installieren", L"Installationsordner: C:\\Apps\\Glimmerline",
         L"Desktopverkn\u00fcpfung erstellen", L"Lizenzvertrag", L"Abbrechen", L"Installieren"},
        {"es", L"Instalar Glimmerline", L"Carpeta de instalaci\u00f3n: C:\\Apps\\Glimmerline",
         L"Acceso directo en el escritorio", L"Contrato de licencia", L"Cancelar", L"Instalar"},
        {"fr", L"Installer Glimmerline", L"Dossier d'installation\u00a0: C:\\Apps\\Glimmerline",
         L"Cr\u00e9er un raccourci sur le Bureau", L"contrat de licence", L"Annuler", L"Installer"},
        {"ja", L"Glimmerline \u306e\u30a4\u30f3\u30b9\u30c8\u30fc\u30eb",
         L"\u30a4\u30f3\u30b9\u30c8\u30fc\u30eb\u5148\u30d5\u30a9\u30eb\u30c0\u30fc: C:\\Apps\\Glimmerline",
         L"\u30c7\u30b9\u30af\u30c8\u30c3\u30d7\u306b\u30b7\u30e7\u30fc\u30c8\u30ab\u30c3\u30c8\u3092\u8ffd\u52a0",
         L"\u4f7f\u7528\u8a31\u8afe\u5951\u7d04", L"\u30ad\u30e3\u30f3\u30bb\u30eb",
         L"\u30a4\u30f3\u30b9\u30c8\u30fc\u30eb"},
        {"zh-Hans", L"\u5b89\u88c5 Glimmerline", L"\u5b89\u88c5\u6587\u4ef6\u5939\uff1aC:\\Apps\\Glimmerline",
         L"\u5728\u684c\u9762\u4e0a\u6dfb\u52a0\u5feb\u6377\u65b9\u5f0f", L"\u8bb8\u53ef\u534f\u8bae", L"\u53d6\u6d88",
         L"\u5b89\u88c5"},
    };
    std::vector<std::string> tags;
    for (const Row& r : rows) tags.push_back(r.tag);
    EXPECT_EQ(gls::textLanguages(), tags); // a table without a row here is not checked

    ScreenState welcome = on(Screen::Welcome);
    welcome.installFolder = L"C:\\Apps\\Glimmerline";
    gls::MeasureText measure{[](const std::wstring& text, float size, int) { return 0.5f * size * text.size(); },
                             [](const std::wstring&, float, float lineSpacing, float) { return 2 * lineSpacing; }};
    auto welcomeNames = [&] {
        std::map<gls::Target, std::wstring> names;
        for (const gls::ScreenElement& e : gls::screenElements(welcome, gls::layoutScreen(welcome, measure))) {
            names[e.kind == gls::ElementKind::Control ? e.target : gls::Target::None] +=
                e.kind == gls::ElementKind::Control ? e.name : e.name + L"|";
        }
        return names;
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.tag);
        ASSERT_TRUE(gls::speak(r.tag));
        for (gls::Txt key : gls::missingTexts(r.tag)) ADD_FAILURE() << "missing: " << gls::textKeyName(key);
        for (unsigned i = 0; i < gls::kTextCount; ++i) {
            auto key = static_cast<gls::Txt>(i);
            if (std::string(gls::textKeyName(key)).starts_with("Test")) continue; // never translated
            std::vector<std::wstring> english = gls::placeholdersOf("en", key), here = gls::placeholdersOf(r.tag, key);
            std::sort(english.begin(), english.end());
            std::sort(here.begin(), here.end());
            EXPECT_EQ(here, english) << gls::textKeyName(key);
        }
        std::map<gls::Target, std::wstring> names = welcomeNames();
        EXPECT_EQ(names[gls::Target::None].rfind(std::wstring(r.title) + L"|", 0), 0u);
        EXPECT_NE(names[gls::Target::None].find(L"|" + std::wstring(r.folder) + L"|"), std::wstring::npos);
        EXPECT_EQ(names[gls::Target::Checkbox], r.checkbox);
        EXPECT_EQ(names[gls::Target::License], r.license);
        EXPECT_EQ(names[gls::Target::Secondary], r.cancel);
        EXPECT_EQ(names[gls::Target::Primary], r.install);
    }

    // Every name in the pseudo-language is a table's text: bracketed, and longer than English.
    ASSERT_TRUE(gls::speak(gls::kPseudoLanguage));
    for (const gls::ScreenElement& e : gls::screenElements(welcome, gls::layoutScreen(welcome, measure))) {
        EXPECT_EQ(e.name.rfind(L"[", 0), 0u) << "not from the tables: " << testing::PrintToString(e.name);
    }
    EXPECT_FALSE(gls::speak("xx")); // not a language: English
    EXPECT_EQ(gls::spokenLanguage(), "en");
    EXPECT_EQ(gls::say(gls::Txt::ButtonInstall), L"Install");
}

// Which language a user's display languages and the "/LANG=" switch ask for.
TEST(ScreenTexts, LanguageForATagAndForTheUsersDisplayLanguages)
{
    const std::pair<const wchar_t*, const char*> tags[] = {
        {L"de", "de"},
        {L"DE-at", "de"},
        {L"fr-CA", "fr"},
        {L"es-419", "es"},
        {L"ja-JP", "ja"},
        {L"zh-CN", "zh-Hans"},
        {L"zh", "zh-Hans"},
        {L"ZH-hans-HK", "zh-Hans"},
        {L"zh-TW", nullptr},
        {L"zh-Hant-CN", nullptr},
        {L"zh-HK", nullptr},
        {L"en-GB", "en"},
        {L"qps-ploc", "qps-ploc"},
        {L"xx", nullptr},
        {L"", nullptr},
        {L"-de", nullptr},
    };
    for (const auto& [tag, spoken] : tags) {
        std::optional<std::string> found = gls::spokenLanguageFor(tag);
        EXPECT_EQ(found.value_or("none"), spoken ? spoken : "none") << testing::PrintToString(tag);
    }
    EXPECT_EQ(gls::languageForUser({L"zh-TW", L"fr-CA", L"de"}), "fr");
    EXPECT_EQ(gls::languageForUser({L"qps-ploc", L"ko"}), "en"); // the pseudo-language is for tests only
    EXPECT_EQ(gls::languageForUser({}), "en");
}
