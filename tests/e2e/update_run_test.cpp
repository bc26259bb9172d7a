// Update runs ("/S /start") of the real setup: the result file and starting the app again.
#include "e2e_fixture.h"

#include <gtest/gtest.h>

using namespace gls::test;

namespace {

using UpdateRun = SetupRun;

} // namespace

TEST_F(UpdateRun, UnknownSwitchWritesCodeThreeAndStartsTheInstalledApp)
{
    std::wstring appFolder = folder / L"LocalAppData\\Programs\\Glimmerline";
    ASSERT_TRUE(writeFile(appFolder + L"\\Glimmerline.exe", "stand-in"));

    expectExit(setup(L"/S /start /x"), 3);
    std::wstring result = folder / L"LocalAppData\\Glimmerline\\update\\update-result.txt";
    EXPECT_EQ(readFile(result), updateResultFile(3, "it was started wrongly"));
    std::string app = narrow(appFolder + L"\\Glimmerline.exe");
    EXPECT_EQ(readFile(folder / L"launched.txt"), app + "\n");
    EXPECT_TRUE(logHas("] wrote " + narrow(result) + " (code 3)"));
    EXPECT_TRUE(logHas("] (test) would open " + app));
}

TEST_F(UpdateRun, NoAppToStartIsLogged)
{
    expectExit(setup(L"/s /START /x"), 3);
    EXPECT_FALSE(exists(folder / L"launched.txt"));
    std::string appFolder = narrow(folder / L"LocalAppData\\Programs\\Glimmerline");
    EXPECT_TRUE(logHas("] no Glimmerline.exe in " + appFolder + " to open"));
}

TEST_F(UpdateRun, ResultFolderThatCannotBeMadeIsLoggedAndTheCodeStays)
{
    ASSERT_TRUE(writeFile(folder / L"LocalAppData\\Glimmerline\\update", "in the way"));
    expectExit(setup(L"/S /start /x"), 3);
    std::string path = narrow(folder / L"LocalAppData\\Glimmerline\\update\\update-result.txt");
    EXPECT_TRUE(logHas("] could not write " + path + " (code 3)"));
}

TEST_F(UpdateRun, UninstallIsNeverAnUpdateRun)
{
    ASSERT_TRUE(writeFile(folder / L"LocalAppData\\Programs\\Glimmerline\\Glimmerline.exe", "stand-in"));
    expectExit(setup(L"/S /start /uninstall /x"), 3);
    EXPECT_FALSE(exists(folder / L"LocalAppData\\Glimmerline\\update"));
    EXPECT_FALSE(exists(folder / L"launched.txt"));
}
