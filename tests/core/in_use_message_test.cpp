// The sentences for files that other programs hold: no holder named, one, or several; one file or
// several.
#include "core/in_use_message.h"
#include "core/texts.h"

#include <gtest/gtest.h>

using Names = std::vector<std::wstring>;

TEST(InUseMessage, NamesInProse)
{
    EXPECT_EQ(gls::listInProse({}), L"");
    EXPECT_EQ(gls::listInProse({L"Ableton Live"}), L"Ableton Live");
    EXPECT_EQ(gls::listInProse({L"Ableton Live", L"Explorer"}), L"Ableton Live and Explorer");
    EXPECT_EQ(gls::listInProse({L"A", L"B", L"C"}), L"A, B and C");
}

TEST(InUseMessage, InstallNamesTheProgramsThatHoldTheFile)
{
    struct Row {
        Names holders;
        const wchar_t* message;
    };
    const Row rows[] = {
        {{}, L"Another program has Glimmerline.vst3 open. Close it, then run Setup again. Nothing was changed."},
        {{L"Ableton Live 12 Suite"},
         L"Ableton Live 12 Suite has Glimmerline.vst3 open. Close it, then run Setup again. Nothing was changed."},
        {{L"Ableton Live 12 Suite", L"Bitwig Studio"},
         L"Ableton Live 12 Suite and Bitwig Studio have Glimmerline.vst3 open. Close them, then run Setup again. "
         L"Nothing was changed."},
        {{L"A", L"B", L"C"},
         L"A, B and C have Glimmerline.vst3 open. Close them, then run Setup again. Nothing was changed."},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(gls::sayInEnglish(gls::fileInUseMessage(row.holders, L"Glimmerline.vst3")), row.message);
    }
}

TEST(InUseMessage, UninstallNamesTheProgramsAndWhatStays)
{
    const std::wstring folder = L"C:\\Users\\Ann\\AppData\\Local\\Programs\\Glimmerline";
    struct Row {
        Names holders;
        Names files;
        std::wstring message;
    };
    const std::wstring plugin = folder + L"\\Glimmerline.vst3";
    const std::wstring hook = folder + L"\\so_hook.dll";
    const std::wstring feed = folder + L"\\plugins\\feed.dll";
    const Row rows[] = {
        // Nobody named: the sentence of old, whatever stayed.
        {{}, {plugin},
         L"Some of Glimmerline's files are in use and stay in " + folder + L". Delete that folder after a restart."},
        {{}, {plugin, hook},
         L"Some of Glimmerline's files are in use and stay in " + folder + L". Delete that folder after a restart."},
        {{L"Ableton Live"}, {plugin},
         L"Ableton Live has Glimmerline.vst3 open, so it stays in " + folder +
             L". Close Ableton Live, then delete that folder."},
        {{L"Ableton Live"}, {plugin, hook},
         L"Ableton Live has Glimmerline.vst3 and 1 other file of Glimmerline open, so they stay in " + folder +
             L". Close Ableton Live, then delete that folder."},
        {{L"Ableton Live", L"Bitwig Studio"}, {plugin, hook, feed},
         L"Ableton Live and Bitwig Studio have Glimmerline.vst3 and 2 other files of Glimmerline open, so they stay "
         L"in " + folder + L". Close Ableton Live and Bitwig Studio, then delete that folder."},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(gls::sayInEnglish(gls::filesLeftInUseMessage(row.holders, row.files, folder)), row.message);
    }
}

TEST(InUseMessage, HolderNamesEachOnceAndAtMostThree)
{
    struct Row {
        const char* what;
        Names listed;
        Names kept;
    };
    const Row rows[] = {
        {"none", {}, {}},
        {"two processes of one program", {L"Ableton Live", L"Ableton Live"}, {L"Ableton Live"}},
        {"no name given", {L"", L"Explorer"}, {L"Explorer"}},
        {"a name that would forge a log line", {L"Live\r\n[  0.00] exit 0", L"Explorer"}, {L"Explorer"}},
        {"more than a sentence names", {L"A", L"B", L"A", L"C", L"D"}, {L"A", L"B", L"C"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(gls::holderNames(row.listed), row.kept) << row.what;
    }
}
