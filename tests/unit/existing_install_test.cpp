// Finding a registered installation through the real registry (under the test key) and real files.
#include "installation/apps_entry.h"
#include "installation/existing_install.h"
#include "platform/shell_link.h"
#include "platform/user_registry.h"
#include "product_names.h"
#include "test_env.h"

#include <gtest/gtest.h>

using gls::test::appExeIn;
using gls::test::kAppExe;
using gls::test::kTestDesktopShortcut;
using gls::test::kTestStartMenuShortcut;
using gls::test::RegistryScope;
using gls::test::TestFolder;
using gls::test::uninstallerIn;

namespace {

// A test folder, a registry key of the test's own, and the environment over both.
class ExistingInstall : public ::testing::Test {
protected:
    TestFolder folder;
    RegistryScope registry;
    gls::Env env = gls::test::testEnv(folder, registry);
};

} // namespace

TEST_F(ExistingInstall, FoundWithFolderVersionAndDesktopShortcut)
{
    std::wstring app = folder / L"Apps\\Glimmerline";
    ASSERT_TRUE(gls::test::writeFile(appExeIn(app), "app"));
    ASSERT_TRUE(registry.setString(gls::kInstallLocation, app));
    ASSERT_TRUE(registry.setString(gls::kDisplayVersion, L"1.0.9"));
    ASSERT_TRUE(gls::test::makeShortcutFile(folder / kTestDesktopShortcut, appExeIn(app)));

    gls::ExistingInstall found = gls::findExistingInstall(env);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.folder, app);
    EXPECT_EQ(found.version, L"1.0.9");
    EXPECT_TRUE(found.hasDesktopShortcut);
    EXPECT_EQ(gls::registeredInstallFolder(env), app);
}

TEST_F(ExistingInstall, ShortcutIntoTheFolderInAnotherCaseCountsOneElsewhereDoesNot)
{
    std::wstring app = folder / L"Apps\\Glimmerline";
    ASSERT_TRUE(gls::test::writeFile(uninstallerIn(app), "uninstaller only"));
    ASSERT_TRUE(registry.setString(gls::kInstallLocation, app + L"\\"));
    std::wstring upper = app;
    for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
    ASSERT_TRUE(gls::test::makeShortcutFile(folder / kTestDesktopShortcut, appExeIn(upper)));
    gls::ExistingInstall found = gls::findExistingInstall(env);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.version, L""); // no "DisplayVersion"
    EXPECT_TRUE(found.hasDesktopShortcut);

    ASSERT_TRUE(gls::test::makeShortcutFile(folder / kTestDesktopShortcut, appExeIn(folder / L"Other")));
    EXPECT_FALSE(gls::findExistingInstall(env).hasDesktopShortcut);
}

TEST_F(ExistingInstall, RegisteredFolderWithoutTheAppIsNotAnInstallation)
{
    std::wstring app = folder / L"Apps\\Glimmerline";
    ASSERT_TRUE(gls::test::writeFile(app + L"\\README.txt", "not the app"));
    ASSERT_TRUE(registry.setString(gls::kInstallLocation, app));
    gls::ExistingInstall found = gls::findExistingInstall(env);
    EXPECT_FALSE(found.found);
    EXPECT_EQ(found.folder, app);
    // For removal the registration still counts: the folder may have been emptied by hand.
    EXPECT_EQ(gls::registeredInstallFolder(env), app);
}

TEST_F(ExistingInstall, TestModeIgnoresRegistrationsOutsideTheTestFolder)
{
    TestFolder elsewhere;
    ASSERT_TRUE(gls::test::writeFile(elsewhere / kAppExe, "app"));
    ASSERT_TRUE(registry.setString(gls::kInstallLocation, elsewhere.path()));
    gls::ExistingInstall found = gls::findExistingInstall(env);
    EXPECT_FALSE(found.found);
    EXPECT_EQ(found.folder, elsewhere.path());
    EXPECT_EQ(gls::registeredInstallFolder(env), L"");
}

TEST_F(ExistingInstall, RegisteredFolderMustBeAbsoluteAndMoreThanARoot)
{
    env.testMode = false; // outside test mode every registered folder of the right form counts
    // The current directory holds the app, so a relative value would find it there.
    ASSERT_TRUE(gls::test::writeFile(folder / kAppExe, "app"));
    ASSERT_TRUE(gls::test::writeFile(appExeIn(folder / L"Apps"), "app"));
    ASSERT_TRUE(::SetCurrentDirectoryW(folder.path().c_str()));
    for (const wchar_t* value : {L"C:", L"C:Apps", L"C:\\", L"Apps", L"\\\\server\\share", L"\\Apps", L"."}) {
        ASSERT_TRUE(registry.setString(gls::kInstallLocation, value));
        EXPECT_EQ(gls::registeredInstallFolder(env), L"") << gls::test::narrow(value);
        EXPECT_FALSE(gls::findExistingInstall(env).found) << gls::test::narrow(value);
    }
    ::SetCurrentDirectoryW(L"C:\\");
    ASSERT_TRUE(registry.setString(gls::kInstallLocation, L""));
    EXPECT_EQ(gls::registeredInstallFolder(env), L"");
    ASSERT_TRUE(registry.setString(gls::kInstallLocation, L"\\\\server\\share\\Glimmerline"));
    EXPECT_EQ(gls::registeredInstallFolder(env), L"\\\\server\\share\\Glimmerline");
    EXPECT_FALSE(gls::findExistingInstall(env).found);
}

TEST_F(ExistingInstall, ReadUserStringReadsStringsWholeAndNothingElse)
{
    std::wstring key = registry.uninstallKey();
    ASSERT_TRUE(registry.setString(L"Fits", std::wstring(2047, L'f')));
    ASSERT_TRUE(registry.setString(L"Long", std::wstring(2048, L't')));
    ASSERT_TRUE(registry.setString(L"Longer", std::wstring(40000, L'l')));
    ASSERT_TRUE(registry.setString(L"Empty", L""));
    ASSERT_TRUE(registry.setDword(L"Number", 7));
    EXPECT_EQ(gls::readUserString(key, L"Fits"), std::wstring(2047, L'f'));
    // No fixed buffer cuts a long value off or turns it into nothing.
    EXPECT_EQ(gls::readUserString(key, L"Long"), std::wstring(2048, L't'));
    EXPECT_EQ(gls::readUserString(key, L"Longer"), std::wstring(40000, L'l'));
    EXPECT_EQ(gls::readUserString(key, L"Empty"), L""); // there, and empty
    EXPECT_FALSE(gls::readUserString(key, L"Number").has_value());
    EXPECT_FALSE(gls::readUserString(key, L"Missing").has_value());
    EXPECT_FALSE(gls::readUserString(key + L"\\Nope", L"Fits").has_value());
}

TEST(Shortcuts, MadeAndReadBack)
{
    TestFolder folder;
    std::wstring lnk = folder / kTestStartMenuShortcut; // the folder does not exist yet
    ASSERT_TRUE(gls::makeShortcut(lnk, appExeIn(L"C:\\Apps\\Glimmerline"), L"C:\\Apps\\Glimmerline"));
    EXPECT_EQ(gls::shortcutTarget(lnk), appExeIn(L"C:\\Apps\\Glimmerline"));
    ASSERT_TRUE(gls::test::writeFile(folder / L"damaged.lnk", "this is no shortcut"));
    EXPECT_EQ(gls::shortcutTarget(folder / L"damaged.lnk"), L"");
    EXPECT_EQ(gls::shortcutTarget(folder / L"missing.lnk"), L"");
}
