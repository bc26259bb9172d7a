// The install run of the real setup in test mode: every exit code of the install role.
#include "e2e_fixture.h"
#include "install_fixture.h"
#include "platform/user_registry.h"
#include "product_names.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace gls::test;

namespace {

using InstallRun = SetupRun;

std::string testKeyValue(const wchar_t* name)
{
    return narrow(appEntryValue(name));
}

} // namespace

TEST_F(InstallRun, SilentInstallThenUpdateRun)
{
    auto run = setup(L"/S");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    std::wstring dir = installDir();
    EXPECT_EQ(readFile(uninstallerIn(dir)), readFile(setupExePath()));
    EXPECT_EQ(readFile(appExeIn(dir)), readFile(standInExe()));
    EXPECT_TRUE(exists(dir + L"\\m4l\\Glimmerline Feed.amxd"));
    EXPECT_TRUE(exists(folder / kTestStartMenuShortcut));
    EXPECT_FALSE(exists(folder / kTestDesktopShortcut));
    EXPECT_EQ(testKeyValue(gls::kInstallLocation), narrow(dir));
    EXPECT_TRUE(logHas("] install into " + narrow(dir) + " (desktop shortcut: no)"));
    EXPECT_TRUE(logHas("] installed 11 files"));
    EXPECT_FALSE(exists(folder / kTestUpdateDir)); // not an update run

    auto update = setup(L"/S /start");
    ASSERT_TRUE(update.finished);
    EXPECT_EQ(update.exitCode, 0u);
    EXPECT_EQ(updateResult(), updateResultFile(0, ""));
    EXPECT_EQ(readFile(folder / L"launched.txt"), narrow(appExeIn(dir)) + "\n");
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        EXPECT_EQ(entry.path().filename().wstring().find(kWorkPrefix), std::wstring::npos);
    }
}

TEST_F(InstallRun, DamagedPayloadIsRefusedBeforeLookingForOtherSetups)
{
    // The app is in its folder, so that an update run would start it afterwards.
    ASSERT_TRUE(writeFile(appExeIn(installDir()), "stand-in"));
    // A copy whose payload has one byte changed after its header.
    std::string bytes = readFile(setupExePath());
    size_t archive = bytes.find(std::string("GLP1\x0A\x00\x00\x00", 8));
    ASSERT_NE(archive, std::string::npos);
    bytes[archive + 200] ^= 0x20;
    std::wstring damaged = folder / L"DamagedSetup.exe";
    ASSERT_TRUE(writeFile(damaged, bytes));

    // Another setup holds the mutex meanwhile.
    StandInApp holder(setupExePath(), L"/S", {{L"GLIMMERLINE_SETUP_TEST", folder.path()},
                                               {L"GLIMMERLINE_SETUP_TEST_DELAY_MS", L"4000"}});
    ::Sleep(1000);
    auto run = runSetup(damaged, folder.path(), L"/S /start");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 6u);
    EXPECT_TRUE(logHas("] This setup file is damaged or incomplete. Download it again."));
    EXPECT_TRUE(logHas("] payload: the payload's checksum does not match"));
    EXPECT_EQ(updateResult(), updateResultFile(6, "the download was damaged"));
    ASSERT_TRUE(::DeleteFileW((folder / L"launched.txt").c_str()));

    // An update run that finds another setup at work leaves the result and the app to it.
    auto second = setup(L"/S /start");
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 4u);
    EXPECT_TRUE(logHas("] another Glimmerline setup is running"));
    EXPECT_EQ(updateResult(), updateResultFile(6, "the download was damaged"));
    EXPECT_FALSE(exists(folder / L"launched.txt"));
    EXPECT_EQ(holder.waitExit(), 0u);
}

TEST_F(InstallRun, UnusableFolderFromTheCommandLine)
{
    auto run = setup(L"/S /D=C:\\a|b");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 3u);
    EXPECT_TRUE(logHas("] /D=C:\\a|b: A folder's name cannot have any of these in it: < > \" | ? *"));
    EXPECT_FALSE(exists(installDir()));

    // One of the user's own folders (in test mode they lie in the test folder).
    std::wstring documents = folder / L"Documents";
    ASSERT_TRUE(writeFile(documents + L"\\Letter.txt", "the user's"));
    expectExit(setup(L"/S /D=" + documents), 3);
    EXPECT_TRUE(logHas("] /D=" + narrow(documents) + ": Your own files are there. Pick another folder."));
    EXPECT_EQ(snapshotTree(documents).size(), 1u);

    // A folder on another computer's share, refused before the test folder's own rule.
    expectExit(setup(L"/S /D=\\\\studio-nas\\apps\\Glimmerline"), 3);
    EXPECT_TRUE(logHas("] /D=\\\\studio-nas\\apps\\Glimmerline: That folder is not on this PC. Pick one that is."));
}

TEST_F(InstallRun, NoKnownFolderEndsBeforeAnythingIsWritten)
{
    // Without LOCALAPPDATA no programs folder is known; the current directory must not stand in.
    std::wstring current = folder / L"Current";
    std::filesystem::create_directories(current);
    ASSERT_TRUE(::SetCurrentDirectoryW(current.c_str()));
    auto run = setup(L"/S", {{L"LOCALAPPDATA", L""}});
    ::SetCurrentDirectoryW(L"C:\\");
    expectExit(run, 3);
    EXPECT_TRUE(logHas("] no folder to install into is known: give one with /D="));
    EXPECT_TRUE(treePaths(current).empty());
    EXPECT_FALSE(appEntryExists());
}

TEST_F(InstallRun, FolderFromTheCommandLineIsUsed)
{
    std::wstring dir = folder / L"Apps\\Glimmer line";
    auto run = setup(L"/S /D=" + dir + L"\\");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(exists(uninstallerIn(dir)));
    EXPECT_EQ(testKeyValue(gls::kInstallLocation), narrow(dir));
}

TEST_F(InstallRun, RunningAppIsClosedFirst)
{
    installAndStartApp();
    if (HasFatalFailure()) return;
    auto run = setup(L"/S");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_FALSE(app->running());
    EXPECT_TRUE(logHas("] asked a Glimmerline window to close"));
}

TEST_F(InstallRun, AppThatWillNotCloseStopsTheUpdate)
{
    installAndStartApp(L"--ignore-close");
    if (HasFatalFailure()) return;
    std::string before = readFile(appExeIn(installDir()));
    auto run = setup(L"/S /start", {{L"GLIMMERLINE_SETUP_TEST_CLOSE_MS", L"500"}});
    EXPECT_EQ(run.exitCode, 5u);
    EXPECT_TRUE(logHas("] Glimmerline did not close in 500 ms"));
    EXPECT_EQ(updateResult(), updateResultFile(5, "Glimmerline did not close"));
    EXPECT_TRUE(app->running());
    EXPECT_EQ(readFile(appExeIn(installDir())), before);

    // An app started as administrator is not waited for: the update ends at once, and says why.
    run = setup(L"/S /start", {{L"GLIMMERLINE_SETUP_TEST_APP_ADMIN", L"1"}});
    EXPECT_EQ(run.exitCode, 5u);
    EXPECT_TRUE(logHas("] Glimmerline runs as administrator: Windows lets Setup neither ask it to close nor end it"));
    EXPECT_EQ(updateResult(), updateResultFile(5, "Glimmerline runs as administrator"));
    EXPECT_TRUE(app->running());
    EXPECT_EQ(readFile(appExeIn(installDir())), before);
}

TEST_F(InstallRun, UpdaterProcessThatHasQuitIsNotWaitedFor)
{
    DWORD quitPid = 0;
    {
        StandInApp gone(standInExe(), L"--no-window");
        quitPid = gone.pid();
    }
    auto run = setup(L"/S /start /P=" + std::to_wstring(quitPid));
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(exists(uninstallerIn(installDir())));
}

TEST_F(InstallRun, JobFailureWritesItsReason)
{
    ASSERT_TRUE(writeFile(folder / L"LocalAppData\\Programs", "a file where the programs folder should be"));
    auto run = setup(L"/S /start");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_TRUE(logHas("] failed: Windows did not let Setup write in "));
    EXPECT_EQ(updateResult(), updateResultFile(1, "its folder can't be written"));
}

TEST_F(InstallRun, UpdateTakesOutWhatTheOldVersionHadAndThisOneHasNot)
{
    // An older setup whose payload also shipped a plug-in this version no longer has.
    MemoryPayload older = makePayload({{kAppPayloadName, "old app"}, {"plugins/legacy/old.dll", "old plug-in"}});
    std::wstring olderSetup = folder / L"OlderSetup.exe";
    ASSERT_TRUE(writeSetupWithPayload(olderSetup, older.archive));
    ASSERT_EQ(runSetup(olderSetup, folder.path(), L"/S").exitCode, 0u);
    ASSERT_TRUE(exists(installDir() + L"\\plugins\\legacy\\old.dll"));

    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    EXPECT_TRUE(logHas("] took out " + narrow(installDir()) + "\\plugins/legacy/old.dll (not in this version)"));
    EXPECT_FALSE(exists(installDir() + L"\\plugins"));
    EXPECT_EQ(readFile(appExeIn(installDir())), readFile(standInExe()));
    EXPECT_EQ(readFile(uninstallerIn(installDir())), readFile(setupExePath()));
}
