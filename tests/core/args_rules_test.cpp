// The command line's switch rules: the "/D=" patterns, letter case, "/P=" digits, "/parent=",
// the long switches.
#include "core/args.h"

#include <gtest/gtest.h>

using gls::Args;

namespace {

// The rules as parseCommandLine applies them: the install folder off the end first, then the
// split elements. The system's split is reduced to blanks and double quotes, which is all these
// lines use; tests/unit/command_line_test.cpp reads a line through the system's own.
Args parseCommandLine(const std::wstring& commandLine)
{
    Args args;
    std::wstring line = commandLine;
    gls::takeInstallDir(line, args);
    std::vector<std::wstring> elements;
    std::wstring element;
    bool inElement = false, quoted = false;
    for (wchar_t c : line) {
        if (c == L'"') {
            quoted = !quoted;
            inElement = true;
        } else if (c == L' ' && !quoted) {
            if (inElement) elements.push_back(element);
            element.clear();
            inElement = false;
        } else {
            element += c;
            inElement = true;
        }
    }
    if (inElement) elements.push_back(element);
    gls::applySwitches(elements, args);
    return args;
}

} // namespace

TEST(CommandLine, NoArgumentsKeepEveryDefault)
{
    Args a = parseCommandLine(L"\"C:\\x\\GlimmerlineSetup.exe\"");
    EXPECT_FALSE(a.silent || a.uninstall || a.removeSettings || a.uiSnapshot || a.uiAt || a.start ||
                 a.installDirGiven);
    EXPECT_EQ(a.waitPid, 0);
    EXPECT_EQ(a.parentHandle, 0u);
    EXPECT_TRUE(a.installDir.empty() && a.from.empty() && a.snapshotDir.empty() && a.unknownSwitch.empty());
}

TEST(CommandLine, InstallFolderRunsToTheEndOfTheLineWithBlanks)
{
    Args a = parseCommandLine(L"setup.exe /S /D=C:\\Program Files\\My App");
    EXPECT_TRUE(a.silent);
    EXPECT_TRUE(a.installDirGiven);
    EXPECT_EQ(a.installDir, L"C:\\Program Files\\My App");
    EXPECT_TRUE(a.unknownSwitch.empty());
}

TEST(CommandLine, InstallFolderSwitchInQuotesAsAWhole)
{
    Args a = parseCommandLine(L"setup.exe \"/D=C:\\My Apps\\X\"");
    EXPECT_TRUE(a.installDirGiven);
    EXPECT_EQ(a.installDir, L"C:\\My Apps\\X");
    EXPECT_TRUE(a.unknownSwitch.empty());
}

TEST(CommandLine, OnlyTrailingQuotesAndBlanksAreRemovedFromTheFolder)
{
    Args a = parseCommandLine(L"setup.exe /D=\"C:\\My Apps\\X\"  ");
    EXPECT_EQ(a.installDir, L"\"C:\\My Apps\\X");
}

TEST(CommandLine, SwitchesAfterTheFolderBelongToIt)
{
    Args a = parseCommandLine(L"setup.exe /D=C:\\A /S");
    EXPECT_FALSE(a.silent);
    EXPECT_EQ(a.installDir, L"C:\\A /S");
}

TEST(CommandLine, FolderSwitchSpellings)
{
    EXPECT_EQ(parseCommandLine(L"setup.exe /d=C:\\low").installDir, L"C:\\low");
    EXPECT_EQ(parseCommandLine(L"setup.exe \"/d=C:\\low q\"").installDir, L"C:\\low q");
    // The first pattern in the fixed order wins even when a later one stands earlier on the line.
    Args both = parseCommandLine(L"setup.exe /d=C:\\first /D=C:\\second");
    EXPECT_EQ(both.installDir, L"C:\\second");
    // Without a blank in front the switch is not the folder switch.
    Args glued = parseCommandLine(L"setup.exe x/D=C:\\A");
    EXPECT_FALSE(glued.installDirGiven);
    EXPECT_EQ(glued.unknownSwitch, L"x/D=C:\\A");
    // Other spellings are not accepted.
    EXPECT_FALSE(parseCommandLine(L"setup.exe /DIR=C:\\A").installDirGiven);
}

TEST(CommandLine, ShortSwitchesIgnoreLetterCase)
{
    Args a = parseCommandLine(L"setup.exe /s /START /Uninstall /removesettings");
    EXPECT_TRUE(a.silent);
    EXPECT_TRUE(a.start);
    EXPECT_TRUE(a.uninstall);
    EXPECT_TRUE(a.removeSettings);
    EXPECT_TRUE(a.unknownSwitch.empty());
}

TEST(CommandLine, WaitPidNeedsDigitsOnly)
{
    EXPECT_EQ(parseCommandLine(L"setup.exe /P=0042").waitPid, 42);
    EXPECT_EQ(parseCommandLine(L"setup.exe /p=7").waitPid, 7);
    EXPECT_EQ(parseCommandLine(L"setup.exe /P=12a").unknownSwitch, L"/P=12a");
    EXPECT_EQ(parseCommandLine(L"setup.exe /P=").unknownSwitch, L"/P=");
    EXPECT_EQ(parseCommandLine(L"setup.exe /P=-1").unknownSwitch, L"/P=-1");
    // Read as 64 bits, kept in the low 32.
    EXPECT_EQ(parseCommandLine(L"setup.exe /P=4294967297").waitPid, 1);
}

TEST(CommandLine, FromAndParent)
{
    Args a = parseCommandLine(L"setup.exe \"/FROM=C:\\Users\\A B\\Glimmerline\" /Parent=1234");
    EXPECT_EQ(a.from, L"C:\\Users\\A B\\Glimmerline");
    EXPECT_EQ(a.parentHandle, 1234u);
    EXPECT_EQ(parseCommandLine(L"setup.exe /from=").from, L"");
    EXPECT_TRUE(parseCommandLine(L"setup.exe /from=").unknownSwitch.empty());
    // No digit test: reading stops at the first non-digit, no digits give 0.
    EXPECT_EQ(parseCommandLine(L"setup.exe /parent=77x").parentHandle, 77u);
    Args none = parseCommandLine(L"setup.exe /parent=zz");
    EXPECT_EQ(none.parentHandle, 0u);
    EXPECT_TRUE(none.unknownSwitch.empty());
    EXPECT_TRUE(parseCommandLine(L"setup.exe /parent=").unknownSwitch.empty());
    EXPECT_EQ(parseCommandLine(L"setup.exe /parent").unknownSwitch, L"/parent");
    EXPECT_EQ(parseCommandLine(L"setup.exe /from").unknownSwitch, L"/from");
    // The result pipe takes digits only.
    EXPECT_EQ(parseCommandLine(L"setup.exe /Result=512").resultHandle, 512u);
    EXPECT_EQ(parseCommandLine(L"setup.exe /result=5x").unknownSwitch, L"/result=5x");
    EXPECT_EQ(parseCommandLine(L"setup.exe /result=").unknownSwitch, L"/result=");
}

TEST(CommandLine, LongSwitchesAreCaseSensitiveAndNeedTheirElement)
{
    Args a = parseCommandLine(L"setup.exe --ui-snapshot \"C:\\snap shots\"");
    EXPECT_TRUE(a.uiSnapshot);
    EXPECT_EQ(a.snapshotDir, L"C:\\snap shots");
    EXPECT_TRUE(a.unknownSwitch.empty());

    Args upper = parseCommandLine(L"setup.exe --UI-SNAPSHOT C:\\s");
    EXPECT_FALSE(upper.uiSnapshot);
    EXPECT_EQ(upper.unknownSwitch, L"C:\\s"); // the element after it is examined on its own

    Args last = parseCommandLine(L"setup.exe --ui-snapshot");
    EXPECT_FALSE(last.uiSnapshot);
    EXPECT_EQ(last.unknownSwitch, L"--ui-snapshot");
}

TEST(CommandLine, UiAtNeedsAPoint)
{
    Args a = parseCommandLine(L"setup.exe --ui-at 10,20");
    EXPECT_TRUE(a.uiAt);
    EXPECT_EQ(a.uiAtX, 10);
    EXPECT_EQ(a.uiAtY, 20);
    EXPECT_TRUE(a.unknownSwitch.empty());

    Args negative = parseCommandLine(L"setup.exe --ui-at \" -1920, 5px\"");
    EXPECT_TRUE(negative.uiAt);
    EXPECT_EQ(negative.uiAtX, -1920);
    EXPECT_EQ(negative.uiAtY, 5);

    Args half = parseCommandLine(L"setup.exe --ui-at 10");
    EXPECT_FALSE(half.uiAt);
    EXPECT_EQ(half.unknownSwitch, L"10");

    EXPECT_EQ(parseCommandLine(L"setup.exe --ui-at").unknownSwitch, L"--ui-at");
}

TEST(CommandLine, LastUnknownSwitchWins)
{
    EXPECT_EQ(parseCommandLine(L"setup.exe /a /S /b").unknownSwitch, L"/b");
}
