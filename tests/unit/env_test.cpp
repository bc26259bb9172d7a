// The environment record in normal and test mode, and the test folder's checks.
#include "platform/env.h"
#include "platform/log.h"
#include "product_names.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <knownfolders.h>

#include <algorithm>
#include <filesystem>

using gls::buildEnv;
using gls::Env;
using gls::test::kAppWindowClass;
using gls::test::kLogName;
using gls::test::kTestAppKey;
using gls::test::kTestAppWindowClass;
using gls::test::kTestInstallDir;
using gls::test::kTestLog;
using gls::test::kTestSettingsDir;
using gls::test::kTestSetupWindowClass;
using gls::test::ScopedEnvVar;
using gls::test::TestFolder;

namespace {

const wchar_t kTestVar[] = L"GLIMMERLINE_SETUP_TEST";

// The environment the program would build now; a refusal fails the test.
Env built()
{
    gls::Checked<Env> env = buildEnv();
    EXPECT_TRUE(env.ok()) << gls::test::narrow(env.problem);
    return env.value;
}

} // namespace

TEST(Environment, TestModeNormalisesTheFolderAndCreatesTemp)
{
    TestFolder folder;
    std::wstring slashed = folder.path();
    for (wchar_t& c : slashed) {
        if (c == L'\\') c = L'/';
    }
    // Forward slashes, a "." segment and a doubled separator.
    size_t cut = slashed.rfind(L'/');
    slashed = slashed.substr(0, cut) + L"/./" + slashed.substr(cut);
    ScopedEnvVar test(kTestVar, slashed);
    ScopedEnvVar delay(L"GLIMMERLINE_SETUP_TEST_DELAY_MS", L"250");
    ScopedEnvVar close(L"GLIMMERLINE_SETUP_TEST_CLOSE_MS", L" 12x");
    ScopedEnvVar nomf(L"GLIMMERLINE_SETUP_TEST_NOMF", L"1");
    ScopedEnvVar admin(L"GLIMMERLINE_SETUP_TEST_APP_ADMIN", L"1");

    Env env = built();
    EXPECT_TRUE(env.testMode);
    EXPECT_EQ(env.testRoot, folder.path());
    EXPECT_EQ(env.uninstallKey, kTestAppKey);
    EXPECT_EQ(env.startMenuPrograms, folder / L"StartMenu\\Programs");
    EXPECT_EQ(env.desktopDir, folder / L"Desktop");
    // The test folder stands for the profile, with the user's own folders in it.
    EXPECT_EQ(env.userFolders, (std::vector<std::wstring>{folder.path(), folder / L"Desktop", folder / L"Documents",
                                                          folder / L"Downloads", folder / L"Music",
                                                          folder / L"Pictures", folder / L"Videos"}));
    EXPECT_EQ(env.defaultInstallDir, folder / kTestInstallDir);
    EXPECT_EQ(env.settingsDir, folder / kTestSettingsDir);
    EXPECT_EQ(env.abletonDir, folder / L"Roaming\\Ableton");
    EXPECT_EQ(env.tempDir, folder / L"Temp");
    EXPECT_EQ(env.appWindowClass, kTestAppWindowClass);
    EXPECT_EQ(env.setupWindowClass, kTestSetupWindowClass);
    EXPECT_EQ(env.mutexName, L"Local\\GlimmerlineSetupTest.Setup");
    EXPECT_TRUE(env.noMediaFoundation);
    EXPECT_EQ(env.startDelayMs, 250);
    EXPECT_EQ(env.closeTimeoutMs, 12);
    EXPECT_TRUE(env.appActsAsAdmin);
    std::error_code ec;
    EXPECT_TRUE(std::filesystem::is_directory(folder / L"Temp", ec));
    EXPECT_EQ(gls::logFilePath(env), folder / kTestLog);
}

TEST(Environment, TestTimesThatAreNotPositiveNumbersMeanNone)
{
    TestFolder folder;
    ScopedEnvVar test(kTestVar, folder.path());
    ScopedEnvVar delay(L"GLIMMERLINE_SETUP_TEST_DELAY_MS", L"soon");
    ScopedEnvVar close(L"GLIMMERLINE_SETUP_TEST_CLOSE_MS", L"-5000");
    ScopedEnvVar nomf(L"GLIMMERLINE_SETUP_TEST_NOMF", L"");
    Env env = built();
    EXPECT_EQ(env.startDelayMs, 0);
    EXPECT_EQ(env.closeTimeoutMs, 0);
    EXPECT_FALSE(env.noMediaFoundation);

    // Numbers beyond 32 bits mean none too, not a pause of weeks; the largest that fits stays.
    for (const wchar_t* huge : {L"2147483648", L"99999999999999999999999", L"-99999999999999999999999"}) {
        ScopedEnvVar hugeDelay(L"GLIMMERLINE_SETUP_TEST_DELAY_MS", huge);
        ScopedEnvVar hugeClose(L"GLIMMERLINE_SETUP_TEST_CLOSE_MS", huge);
        Env hugeEnv = built();
        EXPECT_EQ(hugeEnv.startDelayMs, 0) << huge;
        EXPECT_EQ(hugeEnv.closeTimeoutMs, 0) << huge;
    }
    ScopedEnvVar largest(L"GLIMMERLINE_SETUP_TEST_CLOSE_MS", L"2147483647");
    EXPECT_EQ(built().closeTimeoutMs, 2147483647);
}

TEST(Environment, BadTestFoldersFail)
{
    TestFolder folder;
    ASSERT_TRUE(gls::test::writeFile(folder / L"a-file", "x"));
    std::filesystem::create_directories(folder / L"rel");
    ASSERT_TRUE(::SetCurrentDirectoryW(folder.path().c_str()));

    const std::wstring bad[] = {
        folder / L"missing",
        folder / L"a-file",
        L"rel", // exists in the current folder, but is relative
        L"C:gls-tests",
        L"\\gls-tests", // rooted, but neither a drive nor a UNC path
    };
    for (const std::wstring& value : bad) {
        ScopedEnvVar test(kTestVar, value);
        gls::Checked<Env> env = buildEnv();
        EXPECT_FALSE(env.ok()) << gls::test::narrow(value);
        EXPECT_EQ(env.problem, L"GLIMMERLINE_SETUP_TEST names no existing folder: " + value);
        EXPECT_TRUE(env.value.testRoot.empty() && env.value.tempDir.empty() && env.value.uninstallKey.empty());
    }
    ::SetCurrentDirectoryW(L"C:\\");
}

TEST(Environment, OverlongTestVariableMeansNormalMode)
{
    ScopedEnvVar test(kTestVar, L"C:\\" + std::wstring(2045, L'a')); // 2048 characters
    ScopedEnvVar delay(L"GLIMMERLINE_SETUP_TEST_DELAY_MS", L"250");
    ScopedEnvVar admin(L"GLIMMERLINE_SETUP_TEST_APP_ADMIN", L"1");
    Env env = built();
    EXPECT_FALSE(env.testMode);
    EXPECT_EQ(env.startDelayMs, 0); // the test variables are not read in normal mode
    EXPECT_FALSE(env.appActsAsAdmin);
    EXPECT_EQ(env.uninstallKey, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Glimmerline");
}

TEST(Environment, ReadEnvVarLimits)
{
    ScopedEnvVar fits(L"GLS_TEST_VALUE", std::wstring(2047, L'v'));
    EXPECT_EQ(gls::readEnvVar(L"GLS_TEST_VALUE").size(), 2047u);
    ScopedEnvVar tooLong(L"GLS_TEST_VALUE", std::wstring(2048, L'v'));
    EXPECT_TRUE(gls::readEnvVar(L"GLS_TEST_VALUE").empty());
    ScopedEnvVar unset(L"GLS_TEST_VALUE", L"");
    EXPECT_TRUE(gls::readEnvVar(L"GLS_TEST_VALUE").empty());
}

TEST(Environment, NormalModeFolders)
{
    ScopedEnvVar test(kTestVar, L"");
    ScopedEnvVar local(L"LOCALAPPDATA", L"C:\\Users\\ann\\AppData\\Local");
    ScopedEnvVar roaming(L"APPDATA", L"C:\\Users\\ann\\AppData\\Roaming\\");
    Env env = built();
    EXPECT_FALSE(env.testMode);
    EXPECT_EQ(env.settingsDir, L"C:\\Users\\ann\\AppData\\Local\\Glimmerline");
    EXPECT_EQ(env.abletonDir, L"C:\\Users\\ann\\AppData\\Roaming\\Ableton");
    EXPECT_FALSE(env.startMenuPrograms.empty());
    EXPECT_FALSE(env.desktopDir.empty());
    EXPECT_EQ(env.appWindowClass, kAppWindowClass);
    EXPECT_EQ(env.setupWindowClass, L"GlimmerlineSetupWindow");
    EXPECT_EQ(env.mutexName, L"Local\\Glimmerline.Setup");
    ASSERT_GE(env.defaultInstallDir.size(), 12u);
    EXPECT_EQ(env.defaultInstallDir.substr(env.defaultInstallDir.size() - 12), L"\\Glimmerline");
    // The system's temporary folder keeps its trailing backslash; the log adds no second one.
    ASSERT_FALSE(env.tempDir.empty());
    EXPECT_EQ(env.tempDir.back(), L'\\');
    EXPECT_EQ(gls::logFilePath(env), env.tempDir + kLogName);
}

TEST(Environment, NormalModeWithoutLocalAppDataHasNoSettingsFolder)
{
    ScopedEnvVar test(kTestVar, L"");
    ScopedEnvVar local(L"LOCALAPPDATA", L"");
    ScopedEnvVar roaming(L"APPDATA", L"");
    Env env = built();
    EXPECT_TRUE(env.settingsDir.empty());
    EXPECT_TRUE(env.abletonDir.empty());
    EXPECT_FALSE(env.desktopDir.empty());
    EXPECT_EQ(env.userFolders.size(), 7u);
    EXPECT_NE(std::find(env.userFolders.begin(), env.userFolders.end(), env.desktopDir), env.userFolders.end());

    // A variable that is no whole path is none: what is built from it would be relative.
    ScopedEnvVar relativeLocal(L"LOCALAPPDATA", L"AppData\\Local");
    ScopedEnvVar relativeRoaming(L"APPDATA", L"C:AppData");
    env = built();
    EXPECT_TRUE(env.settingsDir.empty());
    EXPECT_TRUE(env.abletonDir.empty());

    // Test mode does the same with a blank LOCALAPPDATA: no default install folder, no settings folder.
    TestFolder folder;
    ScopedEnvVar testMode(kTestVar, folder.path());
    ScopedEnvVar blank(L"LOCALAPPDATA", L"");
    env = built();
    EXPECT_TRUE(env.defaultInstallDir.empty());
    EXPECT_TRUE(env.settingsDir.empty());
}

TEST(Environment, KnownFolderEmptyOnFailure)
{
    EXPECT_FALSE(gls::knownFolder(FOLDERID_Desktop).empty());
    const GUID bogus = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    EXPECT_TRUE(gls::knownFolder(bogus).empty());
}
