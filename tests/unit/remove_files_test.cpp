// Removal through real files: read-only files, files held by another process, folder links,
// leftovers of interrupted runs and shortcuts.
#include "platform/remove_files.h"
#include "platform/tree_walk.h"
#include "installation/shortcuts.h"
#include "product_names.h"
#include "test_support.h"

#include <gtest/gtest.h>

using gls::test::appExeIn;
using gls::test::exists;
using gls::test::kAppExe;
using gls::test::narrow;
using gls::test::TestFolder;
using gls::test::writeFile;

namespace {

// A tree to remove, inside a fresh test folder.
class RemoveTree : public ::testing::Test {
protected:
    TestFolder folder;
    std::wstring tree = folder / L"tree";
};

} // namespace

TEST_F(RemoveTree, DeletesReadOnlyFilesAndEveryFolder)
{
    ASSERT_TRUE(writeFile(tree + L"\\a.txt", "a"));
    ASSERT_TRUE(writeFile(tree + L"\\sub\\deeper\\b.txt", "b"));
    ASSERT_TRUE(writeFile(tree + L"\\sub\\hidden.txt", "h"));
    ::CreateDirectoryW((tree + L"\\empty").c_str(), nullptr);
    ASSERT_TRUE(::SetFileAttributesW((tree + L"\\a.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::SetFileAttributesW((tree + L"\\sub\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    std::vector<std::wstring> stayed;
    gls::removeTree(tree, &stayed);
    EXPECT_TRUE(stayed.empty());
    EXPECT_FALSE(exists(tree));
    EXPECT_TRUE(exists(folder.path()));
}

TEST_F(RemoveTree, FileHeldByAnotherProcessStaysWithItsFolders)
{
    ASSERT_TRUE(writeFile(tree + L"\\keep\\held.dll", "in use"));
    ASSERT_TRUE(writeFile(tree + L"\\keep\\free.txt", "free"));
    ASSERT_TRUE(writeFile(tree + L"\\other\\x.txt", "x"));
    gls::test::HeldFile held(tree + L"\\keep\\held.dll");
    ASSERT_TRUE(held.holding());
    gls::test::ShortFileWaits shortWaits;

    std::vector<std::wstring> stayed = {L"earlier"};
    gls::removeTree(tree, &stayed);
    ASSERT_EQ(stayed.size(), 2u); // appended to what was there
    EXPECT_EQ(stayed[1], tree + L"\\keep\\held.dll");
    EXPECT_TRUE(exists(tree + L"\\keep\\held.dll"));
    EXPECT_FALSE(exists(tree + L"\\keep\\free.txt"));
    EXPECT_FALSE(exists(tree + L"\\other"));
    EXPECT_TRUE(exists(tree + L"\\keep"));
}

TEST_F(RemoveTree, MissingFolderListsNothing)
{
    std::vector<std::wstring> stayed;
    gls::removeTree(folder / L"missing", &stayed);
    gls::removeTree(folder / L"missing"); // without a list
    EXPECT_TRUE(stayed.empty());
    ASSERT_TRUE(writeFile(folder / L"plain-file", "not a folder"));
    gls::removeTree(folder / L"plain-file", &stayed);
    EXPECT_TRUE(stayed.empty());
    EXPECT_TRUE(exists(folder / L"plain-file"));
}

TEST_F(RemoveTree, NeverEntersALinkToAFolder)
{
    ASSERT_TRUE(writeFile(tree + L"\\a.txt", "a"));
    ASSERT_TRUE(writeFile(folder / L"outside\\precious.txt", "the user's"));
    if (!gls::test::makeFolderLink(tree + L"\\link", folder / L"outside")) GTEST_SKIP() << "no folder link could be made";

    std::vector<std::wstring> stayed;
    gls::removeTree(tree, &stayed);
    EXPECT_TRUE(stayed.empty());
    EXPECT_EQ(gls::test::readFile(folder / L"outside\\precious.txt"), "the user's");
    EXPECT_FALSE(exists(tree + L"\\a.txt"));
}

TEST_F(RemoveTree, LinkToAFolderIsRemovedAsALink)
{
    if (gls::test::underWine()) {
        GTEST_SKIP() << "Wine's RemoveDirectoryW follows a symbolic link to a folder and fails with "
                        "ERROR_DIR_NOT_EMPTY instead of removing the link";
    }
    ASSERT_TRUE(writeFile(folder / L"outside\\precious.txt", "the user's"));
    ASSERT_TRUE(gls::test::makeFolderLink(tree + L"\\link", folder / L"outside"));
    gls::removeTree(tree);
    EXPECT_FALSE(exists(tree));
    EXPECT_TRUE(exists(folder / L"outside\\precious.txt"));
}

TEST_F(RemoveTree, PathCutShortByANulIsNoFolder)
{
    // The system would read the path only up to the NUL, so every listing would list the same
    // folder again, one level deeper each time.
    ASSERT_TRUE(writeFile(tree + L"\\a.txt", "a"));
    std::wstring cut = tree + std::wstring(1, L'\0') + L"\\User Library";
    EXPECT_TRUE(gls::walkTree(cut).empty());
    EXPECT_FALSE(gls::walkTree(cut).complete);
    std::vector<std::wstring> stayed;
    gls::removeTree(cut, &stayed);
    EXPECT_TRUE(stayed.empty());
    EXPECT_EQ(gls::test::readFile(tree + L"\\a.txt"), "a");
}

TEST_F(RemoveTree, WalkThatGoesTooDeepSaysItStoppedEarly)
{
    // Deeper than any path the system takes without its long form: such a tree is a mount of a
    // folder inside itself, which no link rule sees. Made from the host, which takes long paths.
    if (!gls::test::underWine()) GTEST_SKIP() << "the deep tree is made from the host";
    ASSERT_TRUE(writeFile(tree + L"\\a.txt", "a"));
    std::string deep = gls::test::unixPath(tree);
    for (int level = 0; level < 140; ++level) deep += "/d";
    ASSERT_EQ(gls::test::runHostCommand("mkdir -p '" + deep + "'"), 0);
    EXPECT_FALSE(gls::walkTree(folder.path()).complete);
    EXPECT_TRUE(gls::walkTree(tree, false).complete);
    // Nothing below the tree is known for certain, so the tree is not taken for empty.
    gls::removeTree(tree);
    EXPECT_TRUE(exists(tree));
    EXPECT_EQ(gls::test::runHostCommand("rm -rf '" + gls::test::unixPath(tree) + "'"), 0);
}

TEST(RemoveWorkLeftovers, EveryWorkNameGoesButTheRunningJobs)
{
    TestFolder folder;
    ASSERT_TRUE(writeFile(appExeIn(folder / L".glsetup-old-1234"), "old"));
    ASSERT_TRUE(writeFile(folder / L".glsetup-old\\x\\y.txt", "old"));
    ASSERT_TRUE(writeFile(folder / L".glsetup-new-4d2-3\\a.txt", "staged"));
    ASSERT_TRUE(writeFile(folder / L".glsetup-del-4d2-1\\7", "pending"));
    ASSERT_TRUE(writeFile(folder / L".glsetup-probe-4d2-1", "x"));
    ASSERT_TRUE(::SetFileAttributesW((folder / L".glsetup-probe-4d2-1").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(writeFile(folder / L".GLSETUP-OLD-9\\x.txt", "other case"));
    ASSERT_TRUE(writeFile(folder / L".glsetup-new-4d2-4\\b.txt", "the running job's"));
    ASSERT_TRUE(writeFile(folder / L"notes.glsetup-old", "a file of the user's"));
    ASSERT_TRUE(writeFile(folder / L"sub\\.glsetup-old-1", "below the top: the app's or the user's"));
    ASSERT_TRUE(writeFile(folder / kAppExe, "current"));
    gls::removeWorkLeftovers(folder.path(), {L".glsetup-new-4d2-4"});
    for (const wchar_t* gone : {L".glsetup-old-1234", L".glsetup-old", L".glsetup-new-4d2-3", L".glsetup-del-4d2-1",
                                L".glsetup-probe-4d2-1", L".GLSETUP-OLD-9"}) {
        EXPECT_FALSE(exists(folder / gone)) << narrow(gone);
    }
    for (const wchar_t* kept : {L".glsetup-new-4d2-4\\b.txt", L"notes.glsetup-old", L"sub\\.glsetup-old-1", kAppExe}) {
        EXPECT_TRUE(exists(folder / kept)) << narrow(kept);
    }
}

TEST(RemoveShortcut, OnlyOursGo)
{
    TestFolder folder;
    std::wstring install = folder / L"Apps\\Glimmerline";
    std::wstring ours = folder / L"Desktop\\ours.lnk";
    std::wstring theirs = folder / L"Desktop\\theirs.lnk";
    std::wstring damaged = folder / L"Desktop\\damaged.lnk";
    ASSERT_TRUE(gls::test::makeShortcutFile(ours, L"C:\\GLS-TESTS\\x\\..\\" + appExeIn(install.substr(13))));
    ASSERT_TRUE(gls::test::makeShortcutFile(theirs, appExeIn(folder / L"Other")));
    ASSERT_TRUE(writeFile(damaged, "not a shortcut"));

    EXPECT_TRUE(gls::removeShortcutIfOurs(ours, install));
    EXPECT_FALSE(exists(ours));
    EXPECT_FALSE(gls::removeShortcutIfOurs(theirs, install));
    EXPECT_TRUE(exists(theirs));
    // One that cannot be read may be the user's: a placeholder of a cloud folder while offline.
    EXPECT_FALSE(gls::removeShortcutIfOurs(damaged, install));
    EXPECT_TRUE(exists(damaged));
    EXPECT_TRUE(gls::removeShortcutIfOurs(folder / L"Desktop\\missing.lnk", install));
}
