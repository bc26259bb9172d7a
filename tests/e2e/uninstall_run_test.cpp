// The uninstall run of the real setup: the installed uninstaller hands over to its temporary
// copy, which removes the app and deletes itself.
#include "e2e_fixture.h"
#include "install_fixture.h"
#include "product_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

using namespace gls::test;
using gls::UniqueKernelHandle;

namespace {

class UninstallRun : public SetupRun {
protected:
    std::wstring uninstaller() const { return uninstallerIn(installDir()); }
    ProcessResult uninstall(const std::wstring& args, EnvOverrides extra = {})
    {
        return runSetup(uninstaller(), folder.path(), args, std::move(extra));
    }
    // The folders a real profile has before anything is installed.
    void makeProfileFolders()
    {
        for (const wchar_t* f : {L"StartMenu\\Programs", L"Desktop", L"LocalAppData\\Programs", L"Roaming", L"Temp"}) {
            std::filesystem::create_directories(folder / f);
        }
    }
    // The copy deletes itself a few seconds after it exits.
    bool tempCopiesGone(DWORD limitMs = 10000) { return tempCopiesGoneIn(folder.path(), limitMs); }
    static bool tempCopiesGoneIn(const std::wstring& root, DWORD limitMs = 10000)
    {
        ULONGLONG start = ::GetTickCount64();
        for (;;) {
            bool any = false;
            for (const auto& e : std::filesystem::directory_iterator(root + L"\\Temp")) {
                any = any || e.path().filename().wstring().rfind(kUninstallCopyPrefix, 0) == 0;
            }
            if (!any) return true;
            if (::GetTickCount64() - start > limitMs) return false;
            ::Sleep(200);
        }
    }
};

} // namespace

TEST_F(UninstallRun, InstallThenUninstallLeavesTheProfileAsItWas)
{
    makeProfileFolders();
    ASSERT_TRUE(writeFile(folder / kTestSettingsFile, "{}")); // the app's settings, kept
    auto before = snapshotTree(folder.path());
    ASSERT_EQ(setup(L"/S /start").exitCode, 0u); // an update run also writes the update result
    ASSERT_TRUE(appEntryExists());
    ASSERT_TRUE(writeFile(installDir() + L"\\my-preset.txt", "the user's"));

    auto run = uninstall(L"/S");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    // The starting process only started the copy; wait for the copy to finish and delete itself.
    EXPECT_TRUE(tempCopiesGone());
    EXPECT_TRUE(logHas("] started " + narrow(folder / kTestUninstallCopyPrefix)));
    EXPECT_TRUE(logHas("] uninstall done: ok, Live files left 0"));
    EXPECT_FALSE(appEntryExists());

    auto after = snapshotTree(folder.path());
    std::erase_if(after, [](const auto& e) {
        const std::wstring& p = e.first;
        return p.find(kTestLog) == 0 || p.find(L"launched.txt") == 0 || p.find(kTestUpdateDir) == 0 ||
               p.find(kTestInstallDir) == 0;
    });
    std::erase_if(before, [](const auto& e) { return e.first.find(kTestLog) == 0; });
    EXPECT_EQ(after, before);
    // The user's file stays, with its folder.
    EXPECT_EQ(snapshotTree(installDir()).size(), 1u);
    EXPECT_EQ(readFile(installDir() + L"\\my-preset.txt"), "the user's");
}

TEST_F(UninstallRun, ChoicesReachTheCopyAndSettingsGo)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    ASSERT_TRUE(writeFile(folder / kTestSettingsFile, "{}"));
    auto run = uninstall(L"/S /RemoveSettings --ui-at -5,7");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(tempCopiesGone());
    EXPECT_TRUE(logHas("\" /parent="));
    EXPECT_TRUE(logHas(" /S /RemoveSettings --ui-at -5,7"));
    EXPECT_TRUE(logHas("] settings folder " + narrow(folder / kTestSettingsDir) + ": removed"));
    EXPECT_FALSE(exists(folder / kTestSettingsDir));
    EXPECT_FALSE(exists(installDir()));
}

TEST_F(UninstallRun, NothingInstalledIsNothingToRemove)
{
    auto run = setup(L"/S /uninstall");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_TRUE(logHas("] nothing to remove"));
}

TEST_F(UninstallRun, RegistrationWhoseFolderIsGoneStillUninstalls)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    std::error_code ec;
    std::filesystem::remove_all(installDir(), ec);
    auto run = setup(L"/S /uninstall"); // from outside the install folder: removes in place
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_FALSE(appEntryExists());
    EXPECT_FALSE(exists(folder / kTestStartMenuShortcut));
    EXPECT_TRUE(exists(setupExePath())); // not a temporary copy: it leaves its own file alone
}

TEST_F(UninstallRun, SecondUninstallerWhileASetupHoldsTheMutexMakesNoCopy)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    StandInApp holder(setupExePath(), L"/S", {{L"GLIMMERLINE_SETUP_TEST", folder.path()},
                                               {L"GLIMMERLINE_SETUP_TEST_DELAY_MS", L"3000"}});
    ::Sleep(1000);
    auto run = uninstall(L"/S");
    EXPECT_EQ(run.exitCode, 4u);
    EXPECT_TRUE(tempCopiesGone(0));
    EXPECT_EQ(holder.waitExit(), 0u);
    EXPECT_TRUE(exists(uninstaller()));
}

TEST_F(UninstallRun, CopyRenamedByHandDoesNotDeleteItself)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    std::wstring renamed = folder / L"Temp\\MyUninstaller.exe";
    ASSERT_TRUE(::CopyFileW(setupExePath().c_str(), renamed.c_str(), FALSE));
    auto run = runSetup(renamed, folder.path(), L"/S /uninstall \"/from=" + installDir() + L"\"");
    EXPECT_EQ(run.exitCode, 0u);
    ::Sleep(4000);
    EXPECT_TRUE(exists(renamed));
    EXPECT_FALSE(exists(uninstaller()));
}

TEST_F(UninstallRun, QuietUninstallExitsWithTheCopysResult)
{
    enum class Fault { None, AppWillNotClose, AppRunsAsAdmin, HeldAppFile, HeldLiveFile, HeldWithDeleteSharing };
    struct Row {
        const char* what;
        Fault fault;
        DWORD code;
    };
    const Row rows[] = {{"clean", Fault::None, 0},
                        {"the app does not close", Fault::AppWillNotClose, 5},
                        {"the app runs as administrator", Fault::AppRunsAsAdmin, 5},
                        {"a file of the app is held", Fault::HeldAppFile, 1},
                        {"Live holds its script", Fault::HeldLiveFile, 0},
                        // Their names stay until the holder lets go, and the folders with them.
                        {"a backup agent holds two files with delete sharing for a moment",
                         Fault::HeldWithDeleteSharing, 0}};
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestUninstallKey);
        std::wstring root = folder / (L"row" + std::to_wstring(n++));
        std::wstring dir = root + L"\\" + kTestInstallDir;
        std::wstring script = root + L"\\Music\\User Library\\Remote Scripts\\Glimmerline";
        std::filesystem::create_directories(root);
        ASSERT_EQ(runSetup(setupExePath(), root, L"/S").exitCode, 0u);
        std::optional<StandInApp> running;
        std::optional<HeldFile> held, heldToo;
        EnvOverrides extra;
        bool appStopsIt = row.fault == Fault::AppWillNotClose || row.fault == Fault::AppRunsAsAdmin;
        if (appStopsIt) {
            // An app that runs as administrator would close if asked; the system refuses the request.
            running.emplace(appExeIn(dir), row.fault == Fault::AppWillNotClose ? L"--ignore-close" : L"",
                            EnvOverrides{{L"GLIMMERLINE_SETUP_TEST", root}});
            ASSERT_NE(StandInApp::waitForWindow(kTestAppWindowClass), nullptr);
            if (row.fault == Fault::AppRunsAsAdmin) extra.push_back({L"GLIMMERLINE_SETUP_TEST_APP_ADMIN", L"1"});
        } else if (row.fault == Fault::HeldAppFile) {
            held.emplace(dir + L"\\so_hook.dll");
        } else if (row.fault == Fault::HeldLiveFile) {
            ASSERT_TRUE(writeFile(root + L"\\Roaming\\Ableton\\Live 12\\Preferences\\Library.cfg",
                                  "<UserLibrary><ProjectPath Value=\"" + narrow(root + L"\\Music") + "\" /></UserLibrary>"));
            ASSERT_TRUE(writeFile(script + L"\\engine.pyd", "loaded by Live"));
            held.emplace(script + L"\\engine.pyd");
        } else if (row.fault == Fault::HeldWithDeleteSharing) {
            held.emplace(dir + L"\\so_hook.dll", true, 4000);
            heldToo.emplace(dir + L"\\live\\Glimmerline\\feed.py", true, 4000);
        }
        ASSERT_TRUE(!held || held->holding());
        ASSERT_TRUE(!heldToo || heldToo->holding());

        // Files held for good are given up on soon.
        if (row.fault == Fault::HeldAppFile || row.fault == Fault::HeldLiveFile) {
            extra.push_back({L"GLIMMERLINE_SETUP_TEST_WAIT_MS", L"300"});
        }
        auto run = runSetup(uninstallerIn(dir), root, L"/S", extra);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, row.code);
        // The starter waited for the copy's work, not just for its start.
        auto lines = logLines(root);
        auto logged = [&lines](const char* text) {
            return std::any_of(lines.begin(), lines.end(),
                               [text](const std::string& l) { return l.find(text) != std::string::npos; });
        };
        EXPECT_EQ(logged("] uninstall done: "), !appStopsIt);
        // Refused at once, not waited for.
        EXPECT_EQ(logged("] Glimmerline runs as administrator: Windows lets Setup neither ask it to close nor end it"),
                  row.fault == Fault::AppRunsAsAdmin);
        EXPECT_EQ(logged("] Glimmerline did not close in 15000 ms"), row.fault == Fault::AppWillNotClose);
        EXPECT_TRUE(!running || running->running());
        held.reset();
        heldToo.reset();
        running.reset();
        EXPECT_TRUE(tempCopiesGoneIn(root));
        EXPECT_EQ(exists(appExeIn(dir)), appStopsIt);
        EXPECT_EQ(exists(dir + L"\\so_hook.dll"), appStopsIt || row.fault == Fault::HeldAppFile);
        EXPECT_EQ(exists(dir), appStopsIt || row.fault == Fault::HeldAppFile);
        EXPECT_EQ(exists(script), row.fault == Fault::HeldLiveFile);
    }
}

TEST_F(UninstallRun, RegisteredFolderEndingInASeparatorReachesTheCopyWhole)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kTestAppKey, gls::kInstallLocation, REG_SZ,
                                (installDir() + L"\\").c_str(), static_cast<DWORD>((installDir().size() + 2) * 2)),
              ERROR_SUCCESS);
    auto run = uninstall(L"/S");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(tempCopiesGone());
    EXPECT_FALSE(exists(installDir()));
    EXPECT_FALSE(appEntryExists());
}

TEST_F(UninstallRun, UninstallerRemovesTheInstallationItBelongsTo)
{
    std::wstring a = folder / L"A\\Glimmerline", b = folder / L"B\\Glimmerline";
    std::wstring script = folder / L"Library\\User Library\\Remote Scripts\\Glimmerline\\__init__.py";
    ASSERT_TRUE(writeFile(folder / L"Roaming\\Ableton\\Live 12\\Preferences\\Library.cfg",
                          "<UserLibrary><ProjectPath Value=\"" + narrow(folder / L"Library") + "\" /></UserLibrary>"));
    ASSERT_TRUE(writeFile(script, "the app put it there"));
    ASSERT_EQ(setup(L"/S /D=" + a).exitCode, 0u);
    ASSERT_EQ(setup(L"/S /D=" + b).exitCode, 0u); // the entry and the Start-menu shortcut name B now
    auto run = runSetup(uninstallerIn(a), folder.path(), L"/S");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(tempCopiesGone());
    EXPECT_FALSE(exists(a));
    EXPECT_TRUE(exists(appExeIn(b)));
    EXPECT_EQ(appEntryValue(gls::kInstallLocation), b);
    EXPECT_TRUE(exists(folder / kTestStartMenuShortcut));
    EXPECT_TRUE(exists(script)); // B's Live script stays with B

    // Reached by another spelling of its folder (a link here, an 8.3 name elsewhere), the
    // uninstaller still sees that it runs from inside the folder and hands over to its copy.
    std::wstring alias = folder / L"B-alias";
    if (!makeFolderLink(alias, b)) GTEST_SKIP() << "no folder link could be made";
    run = runSetup(uninstallerIn(alias), folder.path(), L"/S");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(tempCopiesGone());
    EXPECT_FALSE(exists(uninstallerIn(b)));
    EXPECT_FALSE(exists(appExeIn(b)));
    EXPECT_FALSE(appEntryExists());
    EXPECT_FALSE(exists(folder / kTestStartMenuShortcut));
    EXPECT_FALSE(exists(script));
}

TEST_F(UninstallRun, SetupSavedAsUninstallExeElsewhereRemovesTheRegisteredOneAndNothingBesideIt)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    std::wstring downloads = folder / L"Downloads";
    std::wstring saved = uninstallerIn(downloads);
    ASSERT_TRUE(writeFile(downloads + L"\\README.txt", "the user's readme"));
    ASSERT_TRUE(writeFile(downloads + L"\\License.txt", "the user's license"));
    ASSERT_TRUE(::CopyFileW(setupExePath().c_str(), saved.c_str(), FALSE));

    auto run = runSetup(saved, folder.path(), L"/S");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_FALSE(exists(installDir()));
    EXPECT_FALSE(appEntryExists());
    EXPECT_EQ(readFile(downloads + L"\\README.txt"), "the user's readme");
    EXPECT_EQ(readFile(downloads + L"\\License.txt"), "the user's license");
    EXPECT_TRUE(exists(saved));
}

TEST_F(UninstallRun, CopyThatCannotBeMadeLeavesOnlyTheRunningUninstaller)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    // A temporary folder that takes no new file, as a full or read-only one: no copy, no log.
    ReadOnlyMount readOnlyTemp(folder / L"Temp");
    if (!readOnlyTemp.mounted()) GTEST_SKIP() << "a read-only mount needs root";
    auto run = uninstall(L"/S", {{L"GLIMMERLINE_SETUP_TEST_WAIT_MS", L"300"}});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_FALSE(appEntryExists());
    EXPECT_FALSE(exists(folder / kTestStartMenuShortcut));
    // Nothing of the app is left but the uninstaller that ran, which could not leave the folder
    // for the temporary one either.
    auto left = snapshotTree(installDir());
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].first, kUninstallerExe);
}

TEST_F(UninstallRun, OnlyWhatIsInstalledGoesAndOnlyFoldersThatHeldIt)
{
    // The user's empty folders beside an installation stay.
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    std::filesystem::create_directories(installDir() + L"\\New folder");
    std::filesystem::create_directories(installDir() + L"\\Projects\\Empty");
    EXPECT_EQ(setup(L"/S /uninstall").exitCode, 0u);
    EXPECT_FALSE(exists(appExeIn(installDir())));
    EXPECT_FALSE(exists(installDir() + L"\\live"));
    EXPECT_TRUE(exists(installDir() + L"\\New folder"));
    EXPECT_TRUE(exists(installDir() + L"\\Projects\\Empty"));

    // An entry that names a folder of the user's, holding no installation: none of its files go,
    // though some bear the names of the app's files.
    std::wstring documents = folder / L"Documents";
    ASSERT_TRUE(writeFile(documents + L"\\README.txt", "the user's"));
    std::filesystem::create_directories(documents + L"\\New folder");
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kTestAppKey, gls::kInstallLocation, REG_SZ, documents.c_str(),
                                static_cast<DWORD>((documents.size() + 1) * 2)),
              ERROR_SUCCESS);
    EXPECT_EQ(setup(L"/S /uninstall").exitCode, 0u);
    EXPECT_EQ(readFile(documents + L"\\README.txt"), "the user's");
    EXPECT_TRUE(exists(documents + L"\\New folder"));
    EXPECT_TRUE(logHas("] no installation in " + narrow(documents) + "; nothing removed from it"));
}

TEST_F(UninstallRun, CopiesLeftInTempGoAtTheNextRun)
{
    // A copy of a killed uninstaller, one still running, one made a moment ago, and other files.
    std::wstring temp = folder / L"Temp";
    std::wstring stale = temp + L"\\" + uninstallCopyName(111), running = temp + L"\\" + uninstallCopyName(222);
    std::wstring fresh = temp + L"\\" + uninstallCopyName(333), other = temp + L"\\Glimmerline-Uninstall.txt";
    std::filesystem::create_directories(temp);
    ASSERT_TRUE(::CopyFileW(setupExePath().c_str(), stale.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(standInExe().c_str(), running.c_str(), FALSE));
    ASSERT_TRUE(writeFile(fresh, "made a moment ago"));
    ASSERT_TRUE(writeFile(other, "not a copy"));
    for (const std::wstring& path : {stale, running}) {
        // An hour old: creation time on Windows; Wine derives it from the write time.
        FILETIME now;
        ::GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
        t.QuadPart -= 3600ull * 10000000ull;
        FILETIME old{t.LowPart, t.HighPart};
        gls::UniqueFile file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(file && ::SetFileTime(file.get(), &old, nullptr, &old));
    }
    StandInApp copyRunning(running, L"");
    ASSERT_TRUE(copyRunning.running());

    EXPECT_EQ(setup(L"/S /uninstall").exitCode, 1u); // nothing to remove; the clean-up came first
    EXPECT_FALSE(exists(stale));
    EXPECT_TRUE(logHas("] removed " + narrow(stale)));
    EXPECT_TRUE(exists(running));
    EXPECT_TRUE(exists(fresh));
    EXPECT_TRUE(exists(other));
}

TEST_F(UninstallRun, PercentSignInTheTempFolderPath)
{
    // A user name with a percent sign: the command interpreter that deletes the copy must not
    // read "%PATH%" in its path as the variable.
    std::wstring root = folder / L"50%PATH%";
    std::filesystem::create_directories(root);
    ASSERT_EQ(runSetup(setupExePath(), root, L"/S").exitCode, 0u);
    auto run = runSetup(uninstallerIn(root + L"\\" + kTestInstallDir), root, L"/S");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(tempCopiesGoneIn(root));
    EXPECT_FALSE(exists(root + L"\\" + kTestInstallDir));
}

TEST_F(UninstallRun, CopyStartsOutsideTheCallersJobWhereTheJobAllowsIt)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    // A terminal tab's job, which ends its processes when the tab closes and lets them leave it.
    UniqueKernelHandle job = makeKillOnCloseJob(true);
    ASSERT_TRUE(job);
    UniqueKernelHandle starter(startProgram(uninstaller(), L"", {{L"GLIMMERLINE_SETUP_TEST", folder.path()}}, nullptr,
                                            job.get()));
    ASSERT_TRUE(starter);
    ASSERT_EQ(::WaitForSingleObject(starter.get(), 20000), WAIT_OBJECT_0);
    DWORD code = 99;
    ::GetExitCodeProcess(starter.get(), &code);
    EXPECT_EQ(code, 0u); // the window's uninstaller exits once its copy runs
    job.reset();         // the tab closes

    // The copy lives on: it shows its remove screen and removes the app when asked.
    HWND window = StandInApp::waitForWindow(kTestSetupWindowClass, 20000);
    ASSERT_NE(window, nullptr);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    UniqueKernelHandle copy(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    ASSERT_TRUE(copy);
    ::Sleep(600);
    // "Remove", then "Done" on the removed screen; Enter does nothing while the job runs.
    for (int i = 0; i < 100 && ::WaitForSingleObject(copy.get(), 300) == WAIT_TIMEOUT; ++i) {
        ::PostMessageW(window, WM_KEYDOWN, VK_RETURN, 1);
    }
    ASSERT_TRUE(::GetExitCodeProcess(copy.get(), &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(exists(appExeIn(installDir())));
    EXPECT_FALSE(appEntryExists());
    EXPECT_TRUE(tempCopiesGone());

    // A job that lets nothing leave it: the copy starts inside it, and a quiet uninstall still
    // gets its result.
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    job = makeKillOnCloseJob(false);
    ASSERT_TRUE(job);
    starter.reset(startProgram(uninstaller(), L"/S", {{L"GLIMMERLINE_SETUP_TEST", folder.path()}}, nullptr, job.get()));
    ASSERT_TRUE(starter);
    ASSERT_EQ(::WaitForSingleObject(starter.get(), 60000), WAIT_OBJECT_0);
    ::GetExitCodeProcess(starter.get(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(
        logHas("] the job this setup runs in lets nothing leave it; " + narrow(folder / kTestUninstallCopyPrefix)));
    EXPECT_FALSE(exists(appExeIn(installDir())));
    EXPECT_TRUE(tempCopiesGone()); // the job stays open until the copy has deleted itself
}

TEST_F(UninstallRun, SelfDeletionOutlivesTheCallersJob)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    std::wstring copy = folder / kTestUninstallCopyPrefix + L"4242.exe";
    ASSERT_TRUE(::CopyFileW(setupExePath().c_str(), copy.c_str(), FALSE));
    UniqueKernelHandle job = makeKillOnCloseJob(true);
    ASSERT_TRUE(job);
    UniqueKernelHandle process(startProgram(copy, L"/S /uninstall \"/from=" + installDir() + L"\"",
                                            {{L"GLIMMERLINE_SETUP_TEST", folder.path()}}, nullptr, job.get()));
    ASSERT_TRUE(process);
    ASSERT_EQ(::WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0);
    job.reset(); // the caller's job closes while the interpreter still waits to delete the copy
    EXPECT_TRUE(tempCopiesGone());
    EXPECT_FALSE(exists(installDir()));
}
