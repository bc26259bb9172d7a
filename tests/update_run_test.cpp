// Update runs ("/S /start") of the real setup: the result file and starting the app again.
#include "test_support.h"

#include <gtest/gtest.h>

using gls::test::logLines;
using gls::test::readFile;
using gls::test::runSetup;
using gls::test::setupExePath;
using gls::test::TestFolder;

namespace {

bool logHas(const std::vector<std::string>& lines, const std::string& text)
{
    for (const std::string& line : lines) {
        if (line.size() >= text.size() && line.compare(line.size() - text.size(), text.size(), text) == 0) return true;
    }
    return false;
}

} // namespace

TEST(UpdateRun, UnknownSwitchWritesCodeThreeAndStartsTheInstalledApp)
{
    TestFolder folder;
    std::wstring appFolder = folder / L"LocalAppData\\Programs\\Glimmerline";
    ASSERT_TRUE(gls::test::writeFile(appFolder + L"\\Glimmerline.exe", "stand-in"));

    auto run = runSetup(setupExePath(), folder.path(), L"/S /start /x");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 3u);
    std::wstring result = folder / L"LocalAppData\\Glimmerline\\update\\update-result.txt";
    EXPECT_EQ(readFile(result), "glimmerline-update-result 1\ncode 3\nversion 1.1.1\nreason it was started wrongly\n");
    std::string app = gls::test::narrow(appFolder + L"\\Glimmerline.exe");
    EXPECT_EQ(readFile(folder / L"launched.txt"), app + "\n");

    auto lines = logLines(folder.path());
    EXPECT_TRUE(logHas(lines, "] wrote " + gls::test::narrow(result) + " (code 3)"));
    EXPECT_TRUE(logHas(lines, "] (test) would open " + app));
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines.back().ends_with("] exit 3"));
}

TEST(UpdateRun, NoAppToStartIsLogged)
{
    TestFolder folder;
    auto run = runSetup(setupExePath(), folder.path(), L"/s /START /x");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 3u);
    EXPECT_FALSE(gls::test::exists(folder / L"launched.txt"));
    std::string appFolder = gls::test::narrow(folder / L"LocalAppData\\Programs\\Glimmerline");
    EXPECT_TRUE(logHas(logLines(folder.path()), "] no Glimmerline.exe in " + appFolder + " to open"));
}

TEST(UpdateRun, ResultFolderThatCannotBeMadeIsLoggedAndTheCodeStays)
{
    TestFolder folder;
    ASSERT_TRUE(gls::test::writeFile(folder / L"LocalAppData\\Glimmerline\\update", "in the way"));
    auto run = runSetup(setupExePath(), folder.path(), L"/S /start /x");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 3u);
    std::string path = gls::test::narrow(folder / L"LocalAppData\\Glimmerline\\update\\update-result.txt");
    EXPECT_TRUE(logHas(logLines(folder.path()), "] could not write " + path + " (code 3)"));
}

TEST(UpdateRun, UninstallIsNeverAnUpdateRun)
{
    TestFolder folder;
    ASSERT_TRUE(gls::test::writeFile(folder / L"LocalAppData\\Programs\\Glimmerline\\Glimmerline.exe", "stand-in"));
    auto run = runSetup(setupExePath(), folder.path(), L"/S /start /uninstall /x");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 3u);
    EXPECT_FALSE(gls::test::exists(folder / L"LocalAppData\\Glimmerline\\update"));
    EXPECT_FALSE(gls::test::exists(folder / L"launched.txt"));
}
