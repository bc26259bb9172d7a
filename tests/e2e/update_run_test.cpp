// Update runs ("/S /start") of the real setup: the result file and starting the app again.
#include "e2e_fixture.h"
#include "product_names.h"

#include <gtest/gtest.h>

using namespace gls::test;

namespace {

using UpdateRun = SetupRun;

} // namespace

TEST_F(UpdateRun, UnknownSwitchWritesCodeThreeAndStartsTheInstalledApp)
{
    std::wstring appFolder = folder / kTestInstallDir;
    ASSERT_TRUE(writeFile(appExeIn(appFolder), "stand-in"));

    expectExit(setup(L"/S /start /x"), 3);
    std::wstring result = folder / kTestUpdateResult;
    EXPECT_EQ(readFile(result), updateResultFile(3, "it was started wrongly"));
    std::string app = narrow(appExeIn(appFolder));
    EXPECT_EQ(readFile(folder / L"launched.txt"), app + "\n");
    EXPECT_TRUE(logHas("] wrote " + narrow(result) + " (code 3)"));
    EXPECT_TRUE(logHas("] (test) would open " + app));
}

TEST_F(UpdateRun, NoAppToStartIsLogged)
{
    expectExit(setup(L"/s /START /x"), 3);
    EXPECT_FALSE(exists(folder / L"launched.txt"));
    std::string appFolder = narrow(folder / kTestInstallDir);
    EXPECT_TRUE(logHas("] no Glimmerline.exe in " + appFolder + " to open"));
}

TEST_F(UpdateRun, ResultFolderThatCannotBeMadeIsLoggedAndTheCodeStays)
{
    ASSERT_TRUE(writeFile(folder / kTestUpdateDir, "in the way"));
    expectExit(setup(L"/S /start /x"), 3);
    std::string path = narrow(folder / kTestUpdateResult);
    EXPECT_TRUE(logHas("] could not write " + path + " (code 3)"));
}

TEST_F(UpdateRun, UninstallIsNeverAnUpdateRun)
{
    ASSERT_TRUE(writeFile(appExeIn(folder / kTestInstallDir), "stand-in"));
    expectExit(setup(L"/S /start /uninstall /x"), 3);
    EXPECT_FALSE(exists(folder / kTestUpdateDir));
    EXPECT_FALSE(exists(folder / L"launched.txt"));
}
