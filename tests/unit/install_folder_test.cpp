// The install folder rules through the one call every caller uses.
#include "install/install_folder.h"
#include "test_env.h"

#include <gtest/gtest.h>

#include <filesystem>

using gls::test::TestFolder;

namespace {

// The folder when the rules pass it (else empty), and the user's sentence when they refuse it.
struct Outcome {
    std::wstring folder;
    std::wstring message;
};

Outcome check(const std::wstring& text, const gls::Env& env = gls::Env())
{
    gls::Checked<std::wstring> checked = gls::checkInstallFolder(env, text);
    return {checked.ok() ? checked.value : L"", checked.problem};
}

const wchar_t kCharacterMessage[] = L"A folder's name cannot have any of these in it: < > \" | ? *";

} // namespace

TEST(InstallFolder, TrimsQuotesAndBlanks)
{
    EXPECT_EQ(check(L"  \" \"  ").message, L"Pick a folder to install into.");
    EXPECT_EQ(check(L"").message, L"Pick a folder to install into.");
    Outcome c = check(L"  \"C:\\Apps\\Glimmerline\"  ");
    EXPECT_EQ(c.folder, L"C:\\Apps\\Glimmerline");
    EXPECT_EQ(c.message, L""); // no problem
}

TEST(InstallFolder, NeedsAWholePath)
{
    for (const wchar_t* text : {L"Apps\\Glimmerline", L"\\Apps", L"C:Apps", L"C:", L"/x", L"\\\\\\srv"}) {
        Outcome c = check(text);
        EXPECT_EQ(c.folder, L"") << gls::test::narrow(text);
        EXPECT_EQ(c.message, L"Pick a whole folder path, starting with a drive letter.") << gls::test::narrow(text);
    }
    EXPECT_EQ(check(L"c:/apps/x").folder, L"c:\\apps\\x");
    EXPECT_EQ(check(L"C:\\Apps\\Glimmerline\\\\").folder, L"C:\\Apps\\Glimmerline");
    EXPECT_EQ(check(L"\\\\server\\share\\Glimmerline").folder, L"\\\\server\\share\\Glimmerline");
}

TEST(InstallFolder, RefusesWholeDrives)
{
    for (const wchar_t* text : {L"C:\\", L"C:/", L"C:\\a\\..\\", L"D:\\.", L"\\\\server\\share\\"}) {
        EXPECT_EQ(check(text).message, L"Pick a folder, not a whole drive.") << gls::test::narrow(text);
    }
}

TEST(InstallFolder, LengthLimits)
{
    std::wstring at180 = L"C:\\" + std::wstring(177, L'a');
    EXPECT_EQ(check(at180).folder, at180);
    Outcome over = check(at180 + L"b");
    EXPECT_EQ(over.folder, L"");
    EXPECT_EQ(over.message, L"That folder's path is too long. Pick a shorter one.");
    EXPECT_EQ(check(L"C:\\" + std::wstring(1100, L'a')).message, L"That folder's path is too long.");
}

TEST(InstallFolder, ForbiddenCharacters)
{
    for (const wchar_t* text : {L"C:\\a|b", L"C:\\a?b", L"C:\\a\tb", L"C:\\a<b", L"C:\\a>b", L"C:\\a*b", L"C:\\a\"b\\c"}) {
        EXPECT_EQ(check(text).message, kCharacterMessage) << gls::test::narrow(text);
    }
    EXPECT_EQ(check(L"C:\\a:b").folder, L"C:\\a:b");
}

TEST(InstallFolder, ExistingEntries)
{
    TestFolder folder;
    ASSERT_TRUE(gls::test::writeFile(folder / L"file", "x"));
    EXPECT_EQ(check(folder / L"file").message, L"There is a file of that name there. Pick another folder.");
    Outcome existing = check(folder.path() + L"\\");
    EXPECT_EQ(existing.folder, folder.path());
    EXPECT_TRUE(gls::test::exists(folder.path()));
    EXPECT_FALSE(gls::test::exists(folder / L"missing"));
    EXPECT_EQ(check(folder / L"missing\\deeper").folder, folder / L"missing\\deeper");
    EXPECT_FALSE(gls::test::exists(folder / L"missing")); // nothing is created
}

TEST(InstallFolder, TestModeKeepsToTheTestFolder)
{
    TestFolder folder;
    gls::Env env = gls::test::testEnv(folder);
    EXPECT_EQ(check(folder / L"Apps\\Glimmerline", env).folder, folder / L"Apps\\Glimmerline");
    EXPECT_EQ(check(L"C:\\Elsewhere\\Glimmerline", env).message, L"(test) The folder is outside the test folder.");
    EXPECT_EQ(check(folder.path() + L"x", env).message, L"(test) The folder is outside the test folder.");
    env.testRoot.clear();
    EXPECT_EQ(check(folder.path(), env).message, L"(test) The folder is outside the test folder.");
}

TEST(InstallFolder, TheUsersOwnFoldersAndTheirParentsAreRefused)
{
    const wchar_t kOwnFolder[] = L"Your own files are there. Pick another folder.";
    TestFolder folder;
    gls::Env env = gls::test::testEnv(folder); // the test folder is the profile, Documents and the rest in it
    for (const std::wstring& own : {folder.path(), folder / L"Documents", folder / L"desktop\\", folder / L"VIDEOS"}) {
        EXPECT_EQ(check(own, env).message, kOwnFolder) << gls::test::narrow(own);
    }
    EXPECT_EQ(check(folder / L"Documents\\Glimmerline", env).folder, folder / L"Documents\\Glimmerline");
    // Another spelling of one that exists: a link to it.
    std::filesystem::create_directories(folder / L"Music");
    std::filesystem::create_directories(folder / L"Apps");
    ASSERT_TRUE(gls::test::makeFolderLink(folder / L"Apps\\Tunes", folder / L"Music"));
    EXPECT_EQ(check(folder / L"Apps\\Tunes", env).message, kOwnFolder);

    // A folder that holds one of them, as C:\Users holds every profile.
    env.testMode = false;
    env.userFolders = {folder / L"Users\\Ann", folder / L"Users\\Ann\\OneDrive\\Documents"};
    EXPECT_EQ(check(folder / L"Users", env).message, kOwnFolder);
    EXPECT_EQ(check(folder / L"Users\\Ann\\OneDrive", env).message, kOwnFolder);
    EXPECT_EQ(check(folder / L"Users\\Ann\\AppData\\Local\\Programs\\Glimmerline", env).message, L"");
}
