// The update result file and opening the app, in this process.
#include "entry/update_result.h"
#include "platform/unique_handle.h"
#include "process/open_app.h"
#include "product_names.h"
#include "test_env.h"

#include <gtest/gtest.h>

#include <filesystem>

using gls::test::appExeIn;
using gls::test::kAppExe;
using gls::test::kAppWindowClass;
using gls::test::kTestUpdateResult;
using gls::test::readFile;
using gls::test::testEnv;
using gls::test::TestFolder;
using gls::test::updateResultFile;

TEST(UpdateResult, FourLinesEachEndedByALineFeed)
{
    TestFolder folder;
    gls::Env env = testEnv(folder);
    gls::writeUpdateResult(env, gls::ExitCode::Done, L"");
    std::wstring path = folder / kTestUpdateResult;
    EXPECT_EQ(readFile(path), updateResultFile(0, ""));

    // A shorter second result replaces the file completely; non-ASCII reasons are UTF-8.
    gls::writeUpdateResult(env, gls::ExitCode::AppDidNotClose, L"Glimmerline did not close");
    EXPECT_EQ(readFile(path), updateResultFile(5, "Glimmerline did not close"));
    gls::writeUpdateResult(env, gls::ExitCode::Failed, L"caf\u00e9 \u2192 \U0001F3B5");
    EXPECT_EQ(readFile(path), updateResultFile(1, "caf\xC3\xA9 \xE2\x86\x92 \xF0\x9F\x8E\xB5"));
}

TEST(UpdateResult, NothingWithoutASettingsFolderOrWhenTheFolderCannotBeMade)
{
    TestFolder folder;
    gls::Env env = testEnv(folder);
    env.settingsDir.clear();
    gls::writeUpdateResult(env, gls::ExitCode::Failed, L"x");
    std::error_code ec;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path(), ec), std::filesystem::directory_iterator()), 0);

    env = testEnv(folder);
    ASSERT_TRUE(gls::test::writeFile(env.settingsDir + L"\\update", "a file where the folder should be"));
    gls::writeUpdateResult(env, gls::ExitCode::Failed, L"x");
    EXPECT_EQ(readFile(env.settingsDir + L"\\update"), "a file where the folder should be");
}

TEST(UpdateResult, AnEarlierResultHeldOpenByItsReaderNeverStandsForThisRun)
{
    TestFolder folder;
    gls::Env env = testEnv(folder);
    std::wstring path = folder / kTestUpdateResult;
    gls::writeUpdateResult(env, gls::ExitCode::Failed, L"it did not go in");
    {
        // A reader that lets the file be replaced or deleted, but not written over.
        gls::UniqueFile reader(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(reader);
        gls::test::ShortFileWaits shortWaits; // the reader holds on for good
        gls::writeUpdateResult(env, gls::ExitCode::Done, L"");
    }
    // The new result, or none where the system keeps the name until the reader lets go (Wine,
    // and Windows before POSIX deletion); never the earlier one.
    std::string after = readFile(path);
    EXPECT_TRUE(after == updateResultFile(0, "") || !gls::test::exists(path)) << after;
    EXPECT_FALSE(gls::test::exists(path + L".partial"));
}

TEST(OpenApp, TestModeWritesTheMarkerAndStartsNothing)
{
    TestFolder folder;
    gls::Env env = testEnv(folder);
    gls::openApp(env, folder / L"Apps\\Glimmerline");
    EXPECT_EQ(readFile(folder / L"launched.txt"), gls::test::narrow(appExeIn(folder / L"Apps\\Glimmerline")) + "\n");
}

TEST(OpenApp, ElevatedSetupOpensTheAppThroughExplorer)
{
    const std::wstring app = appExeIn(L"C:\\Users\\Ann Lee\\Glimmerline");
    gls::AppLaunch elevated = gls::appLaunchFor(L"C:\\Users\\Ann Lee\\Glimmerline", true, L"C:\\Windows");
    EXPECT_EQ(elevated.program, L"C:\\Windows\\explorer.exe");
    EXPECT_EQ(elevated.commandLine, L"\"C:\\Windows\\explorer.exe\" \"" + app + L"\"");
    EXPECT_EQ(elevated.directory, L"");
    EXPECT_TRUE(elevated.throughExplorer);
    // Never an Explorer found along the search path.
    EXPECT_EQ(gls::appLaunchFor(L"C:\\Users\\Ann Lee\\Glimmerline", true, L"").program, L"");

    gls::AppLaunch direct = gls::appLaunchFor(L"C:\\Users\\Ann Lee\\Glimmerline\\", false, L"C:\\Windows");
    EXPECT_EQ(direct.program, app);
    EXPECT_EQ(direct.commandLine, L"\"" + app + L"\"");
    EXPECT_EQ(direct.directory, L"C:\\Users\\Ann Lee\\Glimmerline\\");
    EXPECT_FALSE(direct.throughExplorer);
}

TEST(OpenApp, StartsTheRealAppOutsideTestMode)
{
    TestFolder folder;
    ASSERT_TRUE(::CopyFileW(gls::test::standInExe().c_str(), (folder / kAppExe).c_str(), FALSE));
    ASSERT_EQ(::FindWindowW(kAppWindowClass, nullptr), nullptr) << "an app window is open already";
    gls::Env env; // normal mode
    gls::openApp(env, folder.path());

    HWND window = nullptr;
    for (int i = 0; i < 100 && !window; ++i) {
        window = ::FindWindowW(kAppWindowClass, nullptr);
        if (!window) ::Sleep(100);
    }
    ASSERT_NE(window, nullptr) << "the app's window did not appear";
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    gls::UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    ASSERT_TRUE(process);
    wchar_t image[MAX_PATH * 4];
    DWORD length = MAX_PATH * 4;
    ASSERT_TRUE(::QueryFullProcessImageNameW(process.get(), 0, image, &length));
    EXPECT_EQ(::lstrcmpiW(image, (folder / kAppExe).c_str()), 0);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
}
