// The real setup program started in test mode: bad test folders, unknown switches, the role.
#include "core/version.h"
#include "e2e_fixture.h"
#include "product_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

using namespace gls::test;

namespace fs = std::filesystem;

namespace {

using Entry = SetupRun;

} // namespace

TEST_F(Entry, UnknownSwitchExitsThreeAndLogsIt)
{
    expectExit(setup(L"/S /nonsense"), 3);
    auto lines = logLines(folder.path());
    ASSERT_GE(lines.size(), 4u);
    EXPECT_TRUE(std::regex_match(
        lines[0], std::regex(R"(\[  0\.00\] ---- \d{4}-\d\d-\d\d \d\d:\d\d:\d\d install \(pid \d+\), test)")))
        << lines[0];
    std::string version = std::regex_replace(gls::kSetupVersionUtf8, std::regex(R"(\.)"), R"(\.)");
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(\[ +\d+\.\d\d\] Glimmerline Setup )" + version +
                                                      R"(: ".*GlimmerlineSetup\.exe" /S /nonsense)")))
        << lines[1];
    EXPECT_NE(
        std::find_if(lines.begin(), lines.end(),
                     [](const std::string& l) { return l.ends_with("] Setup does not know the switch /nonsense."); }),
        lines.end());
}

// A language the setup does not speak is no error: it is logged, and the user's language is used.
TEST_F(Entry, UnknownLanguageFallsBackAndIsLogged)
{
    expectExit(setup(L"/S /LANG=xx"), 0);
    auto lines = logLines(folder.path());
    auto has = [&](const std::string& end) {
        return std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.ends_with(end); }) !=
               lines.end();
    };
    EXPECT_TRUE(has("] /LANG=xx: not a language of the setup"));
    EXPECT_TRUE(has("] language: en")); // the bench's user speaks English
}

TEST_F(Entry, UnknownSwitchIsQuotedAsGivenAndTheLastOneWins)
{
    expectExit(setup(L"/first \"/S\" \"--ui-at\" 10 /S"), 3);
    auto lines = logLines(folder.path());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(lines[lines.size() - 2].ends_with("] Setup does not know the switch 10.")) << lines[lines.size() - 2];
}

TEST_F(Entry, BadTestFolderExitsThreeWithoutALog)
{
    ASSERT_TRUE(writeFile(folder / L"not-a-folder", "x"));
    for (const std::wstring& value : {folder / L"missing", folder / L"not-a-folder"}) {
        auto run = runSetup(setupExePath(), value, L"/S");
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 3u);
        EXPECT_FALSE(exists(value + L"\\Temp"));
    }
    // Nothing else appeared in the folder either.
    std::error_code ec;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path(), ec), fs::directory_iterator()), 1);
}

TEST_F(Entry, ProgramNamedUninstallExeInAnyCaseIsTheUninstaller)
{
    std::wstring uninstaller = folder / L"uNINSTALL.EXE";
    std::wstring tempCopy = folder / uninstallCopyName(4242);
    ASSERT_TRUE(::CopyFileW(setupExePath().c_str(), uninstaller.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(setupExePath().c_str(), tempCopy.c_str(), FALSE));

    std::wstring sandbox = folder / L"sandbox";
    fs::create_directories(sandbox);
    // The unknown switch stops either run before it does anything; the banner names the role.
    ASSERT_TRUE(runSetup(uninstaller, sandbox, L"/S /stop").finished);
    ASSERT_TRUE(runSetup(tempCopy, sandbox, L"/S /stop").finished);
    ASSERT_TRUE(runSetup(tempCopy, sandbox, L"/S /uninstall /stop").finished);

    std::vector<std::string> banners;
    for (const std::string& line : logLines(sandbox)) {
        if (line.find("] ---- ") != std::string::npos) banners.push_back(line);
    }
    ASSERT_EQ(banners.size(), 3u);
    EXPECT_NE(banners[0].find(" uninstall (pid "), std::string::npos) << banners[0];
    EXPECT_NE(banners[1].find(" install (pid "), std::string::npos) << banners[1];
    EXPECT_EQ(banners[1].find("uninstall"), std::string::npos) << banners[1];
    EXPECT_NE(banners[2].find(" uninstall (pid "), std::string::npos) << banners[2];
}
