// The uninstall run of the real setup: the installed uninstaller hands over to its temporary
// copy, which removes the app and deletes itself.
#include "e2e_fixture.h"
#include "install_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace gls::test;

namespace {

class UninstallRun : public SetupRun {
protected:
    std::wstring uninstaller() const { return installDir() + L"\\Uninstall.exe"; }
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
    bool tempCopiesGone(DWORD limitMs = 10000)
    {
        ULONGLONG start = ::GetTickCount64();
        for (;;) {
            bool any = false;
            for (const auto& e : std::filesystem::directory_iterator(folder / L"Temp")) {
                any = any || e.path().filename().wstring().rfind(L"Glimmerline-Uninstall-", 0) == 0;
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
    ASSERT_TRUE(writeFile(folder / L"LocalAppData\\Glimmerline\\settings.json", "{}")); // the app's settings, kept
    auto before = snapshotTree(folder.path());
    ASSERT_EQ(setup(L"/S /start").exitCode, 0u); // an update run also writes the update result
    ASSERT_TRUE(appEntryExists());
    ASSERT_TRUE(writeFile(installDir() + L"\\my-preset.txt", "the user's"));

    auto run = uninstall(L"/S");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    // The starting process only started the copy; wait for the copy to finish and delete itself.
    EXPECT_TRUE(tempCopiesGone());
    EXPECT_TRUE(logHas("] started " + narrow(folder / L"Temp\\Glimmerline-Uninstall-")));
    EXPECT_TRUE(logHas("] uninstall done: ok, Live files left 0"));
    EXPECT_FALSE(appEntryExists());

    auto after = snapshotTree(folder.path());
    std::erase_if(after, [](const auto& e) {
        const std::wstring& p = e.first;
        return p.find(L"Temp\\Glimmerline-Setup.log") == 0 || p.find(L"launched.txt") == 0 ||
               p.find(L"LocalAppData\\Glimmerline\\update") == 0 ||
               p.find(L"LocalAppData\\Programs\\Glimmerline") == 0;
    });
    std::erase_if(before, [](const auto& e) { return e.first.find(L"Temp\\Glimmerline-Setup.log") == 0; });
    EXPECT_EQ(after, before);
    // The user's file stays, with its folder.
    EXPECT_EQ(snapshotTree(installDir()).size(), 1u);
    EXPECT_EQ(readFile(installDir() + L"\\my-preset.txt"), "the user's");
}

TEST_F(UninstallRun, ChoicesReachTheCopyAndSettingsGo)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    ASSERT_TRUE(writeFile(folder / L"LocalAppData\\Glimmerline\\settings.json", "{}"));
    auto run = uninstall(L"/S /RemoveSettings --ui-at -5,7");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(tempCopiesGone());
    EXPECT_TRUE(logHas("\" /parent="));
    EXPECT_TRUE(logHas(" /S /RemoveSettings --ui-at -5,7"));
    EXPECT_TRUE(logHas("] settings folder " + narrow(folder / L"LocalAppData\\Glimmerline") + ": removed"));
    EXPECT_FALSE(exists(folder / L"LocalAppData\\Glimmerline"));
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
    EXPECT_FALSE(exists(folder / L"StartMenu\\Programs\\Glimmerline.lnk"));
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

TEST_F(UninstallRun, AppThatWillNotCloseStopsTheUninstall)
{
    installAndStartApp(L"--ignore-close");
    if (HasFatalFailure()) return;
    // Run in place (not through the copy) so that the result is this process's exit code.
    auto run = setup(L"/S /uninstall");
    EXPECT_EQ(run.exitCode, 5u);
    EXPECT_TRUE(logHas("] Glimmerline did not close in 15000 ms"));
    EXPECT_TRUE(exists(installDir() + L"\\Glimmerline.exe"));
}
