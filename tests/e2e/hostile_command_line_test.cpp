// Hostile command lines and test variables: each run ends with a defined exit code and a log
// whose last line names it, never with a crash or a hang.
#include "e2e_fixture.h"
#include "fault_seed.h"
#include "product_names.h"

#include <gtest/gtest.h>

#include <random>

using namespace gls::test;

namespace {

using HostileCommandLine = SetupRun;

// A silent command line of random pieces: switches the setup knows, with odd values, stray quotes,
// junk and long runs. Never "--ui-snapshot" (it writes a picture where it is told) and never
// "/start" (it would wait for whatever process "/P=" names).
std::wstring randomCommandLine(std::mt19937_64& rng, const std::wstring& root)
{
    auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
    auto folderText = [&]() -> std::wstring {
        const std::wstring tails[] = {L"\\App", L"\\Zoë 音楽", L"\\a\"b", L"\\..\\..\\x", L"\\\\\\", L"\\" + std::wstring(190, L'f'),
                                      L"\\tab\tin", L"\\q?*", L""};
        switch (pick(4)) {
        case 0: return L"relative\\path";
        case 1: return L"C:";
        default: return root + tails[pick(std::size(tails))];
        }
    };
    std::wstring line = L"/S";
    for (size_t i = 0, count = 1 + pick(8); i < count; ++i) {
        line += std::wstring(1 + pick(3), L' ');
        switch (pick(12)) {
        case 0: line += L"/uninstall"; break;
        case 1: line += L"/RemoveSettings"; break;
        case 2: line += L"\""; break;
        case 3: line += L"/D=" + folderText(); break;
        case 4: line += L"\"/D=" + folderText() + L"\""; break;
        case 5: line += L"/parent=" + std::to_wstring(static_cast<long long>(rng())); break;
        case 6: line += L"--ui-at " + std::to_wstring(static_cast<int>(rng())) + L"," + std::to_wstring(pick(5000)); break;
        case 7: line += L"\"/from=" + folderText() + L"\""; break;
        case 8: line += L"/P=" + std::to_wstring(rng()); break;
        case 9: line += L"/" + std::wstring(1 + pick(20000), L'x'); break;
        case 10: line += L"/Zoë\u00A0\u3000"; break;
        default: line += L"/S"; break;
        }
    }
    return line.substr(0, 32000);
}

} // namespace

TEST_F(HostileCommandLine, RandomCommandLinesEndWithADefinedCode)
{
    std::mt19937_64 rng(faultSeed() ^ 0x5eed);
    for (int i = 0, count = stressRun() ? 300 : 12; i < count && !HasFatalFailure(); ++i) {
        std::wstring line = randomCommandLine(rng, folder.path());
        SCOPED_TRACE("command line " + std::to_string(i) + ": " + narrow(line.substr(0, 300)));
        auto run = setup(line);
        ASSERT_TRUE(run.finished);
        EXPECT_LE(run.exitCode, 6u);
        auto lines = logLines(folder.path());
        ASSERT_FALSE(lines.empty());
        EXPECT_TRUE(lines.back().ends_with("] exit " + std::to_string(run.exitCode))) << lines.back().substr(0, 200);
    }
}

TEST_F(HostileCommandLine, LongSwitchesAndUnusableFoldersEndInCodeThree)
{
    // A switch of 32 000 characters: unknown, and quoted whole in the log.
    std::wstring junk = L"/" + std::wstring(32000, L'j');
    expectExit(setup(L"/S " + junk), 3);
    EXPECT_TRUE(logHas("] Setup does not know the switch " + narrow(junk) + "."));

    // "/D=" with 32 000 characters: the folder is refused in a silent run.
    std::wstring longFolder = L"C:\\" + std::wstring(32000, L'd');
    expectExit(setup(L"/S /D=" + longFolder), 3);
    EXPECT_TRUE(logHas("] /D=" + narrow(longFolder) + ": That folder's path is too long."));
    EXPECT_FALSE(exists(installDir()));

    // A folder to remove that is empty, relative or a bare drive: the app's names joined to it
    // would address the current directory.
    for (const wchar_t* from : {L"/from=", L"\"/from=relative\\Glimmerline\"", L"/from=C:"}) {
        SCOPED_TRACE(narrow(from));
        expectExit(setup(L"/S /uninstall " + std::wstring(from)), 3);
    }
    EXPECT_TRUE(logHas("] /from=relative\\Glimmerline: not a whole folder path"));

    // A command line filled to its limit with switches that each mean something.
    std::wstring many;
    for (int i = 0; i < 1500; ++i) many += L"/S /RemoveSettings ";
    expectExit(setup(many + L"/uninstall"), 1);
    EXPECT_TRUE(logHas("] nothing to remove"));
}

TEST_F(HostileCommandLine, EmbeddedQuotesNeverReachThePath)
{
    // Quotes inside the folder are characters a folder cannot hold.
    expectExit(setup(L"/S \"/D=" + folder.path() + L"\\a\"b\\c\""), 3);
    // Unbalanced quotes around the switches make one unknown switch of the rest.
    expectExit(setup(L"\"/S /uninstall"), 3);
    // Quotes typed around the whole folder are dropped, and the install goes in.
    std::wstring target = folder / L"Quoted Place";
    expectExit(setup(L"/S /D=\"\"" + target + L"\"\""), 0);
    EXPECT_TRUE(exists(appExeIn(target)));
}

TEST_F(HostileCommandLine, TestTimesBeyondRangeMeanNone)
{
    // Read as a pause of almost 25 days, these would hang the run; they mean none.
    expectExit(setup(L"/S", {{L"GLIMMERLINE_SETUP_TEST_DELAY_MS", L"99999999999999"},
                                   {L"GLIMMERLINE_SETUP_TEST_CLOSE_MS", L"-99999999999999"}}),
                     0);
    expectExit(setup(L"/uninstall /S", {{L"GLIMMERLINE_SETUP_TEST_DELAY_MS", L"-1"}}), 0);
}

TEST_F(HostileCommandLine, ParentThatIsNoOtherProcessIsNotWaitedFor)
{
    std::wstring nothing = folder / L"nothing here";
    // The pseudo-handles of this process and this thread, a number that is no handle at all, and
    // a handle of another kind that this run really inherits.
    HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    ASSERT_TRUE(::SetHandleInformation(event, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT));
    std::wstring eventValue = std::to_wstring(reinterpret_cast<uintptr_t>(event));
    const std::pair<std::wstring, std::string> values[] = {
        {L"18446744073709551615", "18446744073709551615"},
        {L"-2", "18446744073709551614"}, // read the way the standard conversion reads it
        {L"123456789", "123456789"},
        {eventValue, narrow(eventValue)},
    };
    for (const auto& [value, logged] : values) {
        SCOPED_TRACE(narrow(value));
        std::wstring args = L"/uninstall \"/from=" + nothing + L"\" /parent=" + value + L" /S";
        std::wstring commandLine = L"\"" + setupExePath() + L"\" " + args;
        // Started with inheritance, so that the event's handle is valid in the run.
        ScopedEnvVar test(L"GLIMMERLINE_SETUP_TEST", folder.path());
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        ASSERT_TRUE(::CreateProcessW(setupExePath().c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                     nullptr, &si, &pi));
        ::CloseHandle(pi.hThread);
        // Waiting for an object that never signals would take the 30 s the wait allows.
        DWORD waited = ::WaitForSingleObject(pi.hProcess, 20000);
        if (waited != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 99);
        DWORD code = 0;
        ::GetExitCodeProcess(pi.hProcess, &code);
        ::CloseHandle(pi.hProcess);
        ProcessResult run{true, waited == WAIT_OBJECT_0, code};
        expectExit(run, 1);
        EXPECT_TRUE(logHas("] /parent=" + logged + " names no other process; not waiting for it"));
    }
    // The run left the event alone: it is still a handle here, and still unsignalled.
    EXPECT_EQ(::WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    ::CloseHandle(event);
}
