// What the end-to-end tests of the real setup share: a fresh test folder, the test registry key
// cleared before and after, and readers for the log and the result files.
#pragma once

#include "installation/apps_entry.h"
#include "platform/user_registry.h"
#include "product_names.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace gls::test {

// The installed-apps entry that test-mode runs write.
inline bool appEntryExists()
{
    UniqueKey key;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, kTestAppKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}
inline std::wstring appEntryValue(const wchar_t* name) { return gls::readUserString(kTestAppKey, name).value_or(L""); }

class SetupRun : public ::testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestUninstallKey); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestUninstallKey); }

    ProcessResult setup(const std::wstring& args, EnvOverrides extra = {})
    {
        return runSetup(setupExePath(), folder.path(), args, std::move(extra));
    }
    std::wstring installDir() const { return folder / kTestInstallDir; }
    std::string updateResult() const { return readFile(folder / kTestUpdateResult); }
    bool logHas(const std::string& text) const
    {
        for (const std::string& line : logLines(folder.path())) {
            if (line.find(text) != std::string::npos) return true;
        }
        return false;
    }
    // The run ended by itself with this exit code, and its log says so last.
    void expectExit(const ProcessResult& run, DWORD expected)
    {
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, expected);
        auto lines = logLines(folder.path());
        ASSERT_FALSE(lines.empty());
        EXPECT_TRUE(lines.back().ends_with("] exit " + std::to_string(expected))) << lines.back().substr(0, 200);
    }
    // Installs silently, then starts the installed app with these switches and waits for its window.
    void installAndStartApp(const std::wstring& switches = L"")
    {
        ASSERT_EQ(setup(L"/S").exitCode, 0u);
        app.emplace(appExeIn(installDir()), switches, EnvOverrides{{L"GLIMMERLINE_SETUP_TEST", folder.path()}});
        ASSERT_NE(StandInApp::waitForWindow(kTestAppWindowClass), nullptr);
    }

    TestFolder folder;
    std::optional<StandInApp> app; // the installed app, once started
};

} // namespace gls::test
