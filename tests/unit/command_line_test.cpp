// The command line as the system splits it: the uninstaller's copy reads its own line back, and
// the program knows its own file.
#include "core/copy_command_line.h"
#include "platform/command_line.h"
#include "platform/own_path.h"

#include <gtest/gtest.h>

using gls::Args;
using gls::parseCommandLine;

TEST(CommandLine, UninstallerCopyLineReadsBack)
{
    Args a = parseCommandLine(
        L"\"C:\\T\\Glimmerline-Uninstall-42.exe\" /uninstall \"/from=C:\\Users\\Ann Lee\\Glimmerline\" "
        L"/parent=488 /S /RemoveSettings --ui-at -5,7");
    EXPECT_TRUE(a.uninstall && a.silent && a.removeSettings && a.uiAt);
    EXPECT_EQ(a.from, L"C:\\Users\\Ann Lee\\Glimmerline");
    EXPECT_EQ(a.parentHandle, 488u);
    EXPECT_EQ(a.uiAtX, -5);
    EXPECT_EQ(a.uiAtY, 7);
    EXPECT_TRUE(a.unknownSwitch.empty());
}

TEST(CommandLine, CopyLineOfAFolderEndingInASeparatorReadsBack)
{
    // A backslash right before the closing quote would make the quote a character of the folder.
    Args given;
    given.silent = true;
    Args a = parseCommandLine(gls::copyCommandLine(L"C:\\T\\Glimmerline-Uninstall-42.exe",
                                                   L"C:\\Users\\Ann Lee\\Glimmerline\\\\", 488, 512, "zh-Hans", given));
    EXPECT_EQ(a.from, L"C:\\Users\\Ann Lee\\Glimmerline");
    EXPECT_EQ(a.language, L"zh-Hans"); // the copy speaks the uninstaller's language
    EXPECT_EQ(a.parentHandle, 488u);
    EXPECT_EQ(a.resultHandle, 512u);
    EXPECT_TRUE(a.uninstall && a.silent);
    EXPECT_TRUE(a.unknownSwitch.empty());
}

TEST(CommandLine, OwnExePathIsThisProgram)
{
    std::wstring path = gls::ownExePath();
    ASSERT_GT(path.size(), 4u);
    EXPECT_NE(path.find(L"gls_unit_tests.exe"), std::wstring::npos);
    EXPECT_EQ(path.find(L'\0'), std::wstring::npos);
}
