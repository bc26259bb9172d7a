// The folder picker's rules: where the dialog opens, and what a picked folder does to the screen.
#include "installation/app_in_folder.h"
#include "install/folder_from_pick.h"
#include "product_names.h"
#include "test_env.h"
#include "ui/folder_pick.h"

#include <gtest/gtest.h>

using gls::test::appExeIn;
using gls::test::TestFolder;
using gls::test::uninstallerIn;
using gls::test::writeFile;

TEST(FolderPick, OpensInTheNearestExistingFolder)
{
    TestFolder folder;
    ASSERT_TRUE(writeFile(folder / L"Apps\\a-file", "x"));
    EXPECT_EQ(gls::pickerStartFolder(folder / L"Apps\\Not\\Yet\\Glimmerline"), folder / L"Apps");
    EXPECT_EQ(gls::pickerStartFolder(folder / L"Apps\\a-file"), folder / L"Apps");
    EXPECT_EQ(gls::pickerStartFolder(folder.path()), folder.path());
    EXPECT_EQ(gls::pickerStartFolder(L""), L"");
    EXPECT_EQ(gls::pickerStartFolder(L"Q:\\surely\\missing"), L"");
}

TEST(FolderPick, PickedFoldersChangeTheWelcomeScreen)
{
    TestFolder folder;
    gls::Env env = gls::test::testEnv(folder);
    std::wstring installed = folder / L"Apps\\Glimmerline";
    ASSERT_TRUE(writeFile(uninstallerIn(installed), "x"));
    ASSERT_TRUE(writeFile(uninstallerIn(folder / L"Other\\Glimmerline"), "x"));
    ASSERT_TRUE(writeFile(folder / L"Busy\\notes.txt", "x"));

    gls::ScreenState state;
    state.installFolder = installed;
    state.appInFolder = true;
    state.installedVersion = L"1.0.2";

    // A folder holding other files gets "Glimmerline" added, and is a fresh install.
    gls::applyPickedFolder(env, state, folder / L"Busy", installed, L"1.0.2");
    EXPECT_EQ(state.installFolder, folder / L"Busy\\Glimmerline");
    EXPECT_FALSE(state.appInFolder);
    EXPECT_EQ(state.installedVersion, L"");

    // Another installation's folder is an update without a version.
    gls::applyPickedFolder(env, state, folder / L"Other\\Glimmerline", installed, L"1.0.2");
    EXPECT_TRUE(state.appInFolder);
    EXPECT_EQ(state.installedVersion, L"");

    // The folder the window started with, spelt another way, brings the version back.
    std::wstring upper = installed;
    for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
    gls::applyPickedFolder(env, state, upper + L"\\", installed, L"1.0.2");
    EXPECT_TRUE(state.appInFolder);
    EXPECT_EQ(state.installedVersion, L"1.0.2");

    // A pick the folder rules refuse keeps the folder and shows why.
    std::wstring before = state.installFolder;
    gls::applyPickedFolder(env, state, L"C:\\gls-elsewhere", installed, L"1.0.2");
    EXPECT_EQ(state.installFolder, before);
    EXPECT_EQ(gls::sayInEnglish(state.folderProblem), L"(test) The folder is outside the test folder.");
}

TEST(FolderPick, InstallFolderFromPick)
{
    TestFolder folder;
    ASSERT_TRUE(writeFile(folder / L"busy\\notes.txt", "x"));
    ASSERT_TRUE(writeFile(uninstallerIn(folder / L"old"), "x"));
    ::CreateDirectoryW((folder / L"empty").c_str(), nullptr);
    ASSERT_TRUE(writeFile(folder / L"GLIMMERLINE\\other.txt", "x"));
    EXPECT_EQ(gls::installFolderFromPick(folder / L"busy"), folder / L"busy\\Glimmerline");
    EXPECT_EQ(gls::installFolderFromPick(folder / L"old"), folder / L"old");
    EXPECT_EQ(gls::installFolderFromPick(folder / L"empty"), folder / L"empty");
    EXPECT_EQ(gls::installFolderFromPick(folder / L"missing"), folder / L"missing");
    EXPECT_EQ(gls::installFolderFromPick(folder / L"GLIMMERLINE"), folder / L"GLIMMERLINE");
}

// Any entry of the app's names counts, even a link that leads nowhere: the setup takes those names
// over or removes them, so the folder is the app's.
TEST(FolderPick, LinkNamedLikeTheAppCountsEvenWhenItLeadsNowhere)
{
    if (gls::test::underWine()) {
        GTEST_SKIP() << "Wine does not show a symbolic link that leads nowhere: FindFirstFileW, GetFileAttributesW "
                        "and the C++ library's status all report it missing";
    }
    TestFolder folder;
    ASSERT_TRUE(writeFile(folder / L"old\\notes.txt", "x"));
    if (!::CreateSymbolicLinkW(appExeIn(folder / L"old").c_str(), (folder / L"old\\gone.exe").c_str(),
                               SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)) {
        GTEST_SKIP() << "no symbolic link could be made here (it takes Developer Mode or administrator rights)";
    }
    EXPECT_TRUE(gls::appInFolder(folder / L"old"));
    EXPECT_EQ(gls::installFolderFromPick(folder / L"old"), folder / L"old");
}
