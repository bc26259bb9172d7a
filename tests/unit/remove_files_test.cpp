// Removal through real files: read-only files, files held by another process, folder links,
// leftovers of interrupted runs and shortcuts.
#include "platform/remove_files.h"
#include "platform/tree_walk.h"
#include "install/shortcuts.h"
#include "test_support.h"

#include <gtest/gtest.h>

using gls::test::exists;
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
    std::vector<std::wstring> stayed;
    gls::removeTree(cut, &stayed);
    EXPECT_TRUE(stayed.empty());
    EXPECT_EQ(gls::test::readFile(tree + L"\\a.txt"), "a");
}

TEST(RemoveOldLeftovers, OnlyLeftoverFoldersGo)
{
    TestFolder folder;
    ASSERT_TRUE(writeFile(folder / L".glsetup-old-1234\\Glimmerline.exe", "old"));
    ASSERT_TRUE(writeFile(folder / L".glsetup-old\\x\\y.txt", "old"));
    ASSERT_TRUE(writeFile(folder / L"notes.glsetup-old", "a file of the user's"));
    ASSERT_TRUE(writeFile(folder / L".glsetup-old-file", "a file, not a folder"));
    ASSERT_TRUE(writeFile(folder / L".GLSETUP-OLD-9\\x.txt", "other case"));
    ASSERT_TRUE(writeFile(folder / L"Glimmerline.exe", "current"));
    gls::removeOldLeftovers(folder.path());
    EXPECT_FALSE(exists(folder / L".glsetup-old-1234"));
    EXPECT_FALSE(exists(folder / L".glsetup-old"));
    EXPECT_TRUE(exists(folder / L"notes.glsetup-old"));
    EXPECT_TRUE(exists(folder / L".glsetup-old-file"));
    EXPECT_TRUE(exists(folder / L".GLSETUP-OLD-9\\x.txt"));
    EXPECT_TRUE(exists(folder / L"Glimmerline.exe"));
}

TEST(RemoveShortcut, OnlyOursGo)
{
    TestFolder folder;
    std::wstring install = folder / L"Apps\\Glimmerline";
    std::wstring ours = folder / L"Desktop\\ours.lnk";
    std::wstring theirs = folder / L"Desktop\\theirs.lnk";
    std::wstring damaged = folder / L"Desktop\\damaged.lnk";
    ASSERT_TRUE(gls::test::makeShortcutFile(ours, L"C:\\GLS-TESTS\\x\\..\\" + install.substr(13) + L"\\Glimmerline.exe"));
    ASSERT_TRUE(gls::test::makeShortcutFile(theirs, folder / L"Other\\Glimmerline.exe"));
    ASSERT_TRUE(writeFile(damaged, "not a shortcut"));

    EXPECT_TRUE(gls::removeShortcutIfOurs(ours, install));
    EXPECT_FALSE(exists(ours));
    EXPECT_FALSE(gls::removeShortcutIfOurs(theirs, install));
    EXPECT_TRUE(exists(theirs));
    EXPECT_TRUE(gls::removeShortcutIfOurs(damaged, install));
    EXPECT_FALSE(exists(damaged));
    EXPECT_TRUE(gls::removeShortcutIfOurs(folder / L"Desktop\\missing.lnk", install));
}
