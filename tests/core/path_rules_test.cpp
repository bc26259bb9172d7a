// Path text rules: roots, parents, lexical normal form, what counts as inside a folder, and which
// paths lead to another computer.
#include "core/folder_rules.h"
#include "core/path_rules.h"

#include <gtest/gtest.h>

using gls::isInsideFolder;
using gls::lexicallyNormal;
using gls::parentPath;
using gls::rootLength;

TEST(PathRules, Roots)
{
    EXPECT_EQ(rootLength(L"C:\\Apps"), 3u);
    EXPECT_EQ(rootLength(L"C:/\\Apps"), 4u);
    EXPECT_EQ(rootLength(L"C:Apps"), 2u);
    EXPECT_EQ(rootLength(L"C:\\"), 3u);
    EXPECT_EQ(rootLength(L"\\\\server\\share\\x"), 15u);
    EXPECT_EQ(rootLength(L"\\\\server\\share"), 14u);
    EXPECT_EQ(rootLength(L"\\\\?\\C:\\x"), 7u);
    EXPECT_EQ(rootLength(L"\\\\?\\UNC\\srv\\sh\\x"), 15u);
    EXPECT_EQ(rootLength(L"\\Apps"), 0u);
    EXPECT_EQ(rootLength(L"Apps"), 0u);
}

// Folder creation climbs these until it finds a folder, so a root must be its own parent.
TEST(PathRules, Parents)
{
    EXPECT_EQ(parentPath(L"C:\\Apps\\Glimmerline\\Glimmerline.exe"), L"C:\\Apps\\Glimmerline");
    EXPECT_EQ(parentPath(L"C:/Apps//Glimmerline//"), L"C:/Apps");
    EXPECT_EQ(parentPath(L"C:\\Apps"), L"C:\\");
    EXPECT_EQ(parentPath(L"C:\\"), L"C:\\");
    EXPECT_EQ(parentPath(L"C:Apps"), L"C:");
    EXPECT_EQ(parentPath(L"\\\\server\\share\\x"), L"\\\\server\\share\\");
    EXPECT_EQ(parentPath(L"\\\\server\\share"), L"\\\\server\\share");
    EXPECT_EQ(parentPath(L"\\Apps"), L"\\");
    EXPECT_EQ(parentPath(L"Apps\\x"), L"Apps");
    EXPECT_EQ(parentPath(L"Apps"), L"");
}

TEST(PathRules, LexicalNormalForm)
{
    EXPECT_EQ(lexicallyNormal(L"C:/gls-tests/./x//y"), L"C:\\gls-tests\\x\\y");
    EXPECT_EQ(lexicallyNormal(L"C:\\a\\..\\"), L"C:\\");
    EXPECT_EQ(lexicallyNormal(L"C:\\..\\..\\x"), L"C:\\x");
    EXPECT_EQ(lexicallyNormal(L"C:\\Apps\\.\\x\\..\\Glim"), L"C:\\Apps\\Glim");
    EXPECT_EQ(lexicallyNormal(L"\\\\srv\\share\\a\\..\\b"), L"\\\\srv\\share\\b");
    EXPECT_EQ(lexicallyNormal(L"a\\..\\..\\b"), L"..\\b");
}

TEST(PathRules, InsideFolder)
{
    EXPECT_TRUE(isInsideFolder(L"C:\\Apps", L"C:\\Apps\\"));
    EXPECT_TRUE(isInsideFolder(L"C:\\Apps\\", L"C:\\Apps"));
    EXPECT_TRUE(isInsideFolder(L"C:\\Apps\\.\\x\\..\\Glim", L"C:\\Apps"));
    EXPECT_TRUE(isInsideFolder(L"C:\\APPS\\GLIMMERLINE\\Glimmerline.exe", L"c:\\apps\\glimmerline"));
    EXPECT_TRUE(isInsideFolder(L"c:/apps/x", L"C:\\Apps"));
    EXPECT_FALSE(isInsideFolder(L"C:\\Apps\\Glim", L"C:\\Apps\\Gli"));
    EXPECT_FALSE(isInsideFolder(L"C:\\Apps", L"C:\\Apps\\Glim"));
    EXPECT_FALSE(isInsideFolder(L"C:\\Other\\Glimmerline.exe", L"C:\\Apps\\Glimmerline"));
    EXPECT_FALSE(isInsideFolder(L"C:\\Apps\\x", L""));
    EXPECT_FALSE(isInsideFolder(L"C:\\Apps\\..\\Other", L"C:\\Apps"));
}

TEST(PathRules, SamePathIgnoresSpellingButNotFolders)
{
    EXPECT_TRUE(gls::samePath(L"C:/Users/Ann/./AppData//Glimmerline/Glimmerline.EXE",
                              L"c:\\users\\ann\\appdata\\glimmerline\\glimmerline.exe"));
    EXPECT_TRUE(gls::samePath(L"C:\\a\\b\\..\\c", L"C:\\a\\c"));
    EXPECT_FALSE(gls::samePath(L"C:\\a\\c", L"C:\\a\\c2"));
}

TEST(FolderRules, NetworkPathsAreFoldersOnAnotherComputer)
{
    for (const wchar_t* path : {L"\\\\server\\share\\Glimmerline", L"//server/share/x", L"\\/server\\share",
                                L"\\\\?\\UNC\\server\\share\\x", L"\\\\?\\unc\\server\\share", L"\\\\.\\UNC\\server\\share\\x",
                                L"\\\\?\\UNC"}) {
        EXPECT_TRUE(gls::isNetworkPath(path)) << testing::PrintToString(std::wstring(path));
    }
    for (const wchar_t* path : {L"C:\\Apps\\Glimmerline", L"\\\\?\\C:\\Apps", L"\\\\.\\C:\\Apps",
                                L"\\\\?\\Volume{0b1c7a2e-0000-0000-0000-100000000000}\\Apps", L"\\\\?\\UNCLE\\x",
                                L"\\\\\\server", L"\\Apps", L"\\\\", L""}) {
        EXPECT_FALSE(gls::isNetworkPath(path)) << testing::PrintToString(std::wstring(path));
    }
    EXPECT_EQ(gls::sayInEnglish(gls::checkFullFolder(L"\\\\server\\share\\Glimmerline\\").problem), L"That folder is not on this PC. Pick one that is.");
    EXPECT_EQ(gls::sayInEnglish(gls::checkFullFolder(L"\\\\server\\share\\").problem), L"Pick a folder, not a whole drive.");
}
