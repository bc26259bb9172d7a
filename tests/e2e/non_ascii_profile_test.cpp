// A profile whose every folder holds letters beyond ASCII, and a payload whose names do too: the
// install, the update and the uninstall work, and the log and the update result hold UTF-8.
#include "e2e_fixture.h"
#include "install_fixture.h"
#include "product_names.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace gls::test;
namespace fs = std::filesystem;

namespace {

using NonAsciiProfile = SetupRun;

bool isUtf8(const std::string& bytes)
{
    return bytes.empty() || ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                                  static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

} // namespace

TEST_F(NonAsciiProfile, InstallUpdateAndUninstallWorkAndEveryTextIsUtf8)
{
    const std::wstring root = folder / L"Zoë 山田 Профиль";
    const std::wstring app = root + L"\\Programme\\Glimmerline Zoë 音楽";
    const std::wstring library = root + L"\\Musik Zoë\\User Library";
    fs::create_directories(fs::path(root));
    const EnvOverrides env = {{L"GLIMMERLINE_SETUP_TEST", root}};

    // Version one has a name in four-byte UTF-8 and a folder of its own that version two drops.
    std::wstring first = root + L"\\Downloads Zoë\\Setup 一.exe";
    std::wstring second = root + L"\\Downloads Zoë\\Setup 二.exe";
    fs::create_directories(fs::path(first).parent_path());
    ASSERT_TRUE(writeSetupWithPayload(first, archiveOf({{kAppPayloadName, "MZ one"},
                                                        {"live/Glimmerline/r\xC3\xA9sum\xC3\xA9.py", "r1"},
                                                        {"docs/\xE6\x97\xA5\xE6\x9C\xAC/\xE3\x82\xAC.txt", "g1"},
                                                        {"\xF0\x9F\x8E\xB5 notes.txt", "n1"}})));
    ASSERT_TRUE(writeSetupWithPayload(second, archiveOf({{kAppPayloadName, "MZ two"},
                                                         {"live/Glimmerline/r\xC3\xA9sum\xC3\xA9.py", "r2"},
                                                         {"\xC3\x9Cml\xC3\xA4ut/\xE6\x96\xB0.txt", "new"}})));

    auto installed = runProgram(first, L"/S /start \"/D=" + app + L"\"", env);
    ASSERT_TRUE(installed.finished);
    ASSERT_EQ(installed.exitCode, 0u);
    EXPECT_EQ(readFile(app + L"\\live\\Glimmerline\\résumé.py"), "r1");
    EXPECT_EQ(readFile(app + L"\\docs\\日本\\ガ.txt"), "g1");
    EXPECT_EQ(readFile(app + L"\\\U0001F3B5 notes.txt"), "n1");
    EXPECT_EQ(readFile(root + L"\\" + kTestUpdateResult), updateResultFile(0, ""));
    EXPECT_EQ(readFile(root + L"\\launched.txt"), narrow(appExeIn(app)) + "\n");

    // The update finds the folder through the installed-apps entry and takes out what it dropped.
    auto updated = runProgram(second, L"/S", env);
    ASSERT_EQ(updated.exitCode, 0u);
    EXPECT_EQ(readFile(app + L"\\live\\Glimmerline\\résumé.py"), "r2");
    EXPECT_EQ(readFile(app + L"\\Ümläut\\新.txt"), "new");
    EXPECT_FALSE(exists(app + L"\\docs"));
    EXPECT_FALSE(exists(app + L"\\\U0001F3B5 notes.txt"));

    // Live's library lies in a folder of the same kind; the uninstall goes through the copy in Temp.
    ASSERT_TRUE(writeFile(root + L"\\Roaming\\Ableton\\Live 12\\Preferences\\Library.cfg",
                          "<UserLibrary><ProjectPath Value=\"" + narrow(root + L"\\Musik Zoë") + "\" /></UserLibrary>"));
    ASSERT_TRUE(writeFile(library + L"\\Remote Scripts\\Glimmerline\\__init__.py", "script"));
    auto removed = runProgram(uninstallerIn(app), L"/S", env);
    ASSERT_EQ(removed.exitCode, 0u);
    // The quiet uninstaller exits with the copy's result, so the copy's work is done by now.
    auto logText = [&] { return readFile(root + L"\\" + kTestLog); };
    EXPECT_NE(logText().find("] uninstall done: ok, Live files left 0"), std::string::npos);
    EXPECT_FALSE(exists(library + L"\\Remote Scripts\\Glimmerline"));
    // The copy deletes itself through a command line that holds the profile's letters.
    auto copyLeft = [&] {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(fs::path(root + L"\\Temp"), ec)) {
            if (e.path().filename().wstring().rfind(kUninstallCopyPrefix, 0) == 0) return true;
        }
        return false;
    };
    for (int i = 0; i < 100 && copyLeft(); ++i) ::Sleep(100);
    EXPECT_FALSE(copyLeft());
    // The uninstaller and its folder go once the uninstaller has exited, before the copy does.
    EXPECT_FALSE(exists(app));

    std::string log = logText();
    EXPECT_TRUE(isUtf8(log));
    EXPECT_NE(log.find("] install into " + narrow(app) + " (desktop shortcut: no)"), std::string::npos);
    EXPECT_NE(log.find("] took out " + narrow(app + L"\\\U0001F3B5 notes.txt") + " (not in this version)"),
              std::string::npos);
    EXPECT_NE(log.find("] started " + narrow(root + L"\\" + kTestUninstallCopyPrefix)), std::string::npos);
    EXPECT_NE(log.find("] removed " + narrow(library + L"\\Remote Scripts\\Glimmerline")), std::string::npos);
}
