// What the end-to-end tests of the real setup share: a fresh test folder, the test registry key
// cleared before and after, and readers for the log and the result files.
#pragma once

#include "install/apps_entry.h"
#include "platform/user_registry.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gls::test {

inline const wchar_t kTestUninstallKey[] = L"Software\\GlimmerlineSetupTest\\Uninstall";
inline const wchar_t kTestAppKey[] = L"Software\\GlimmerlineSetupTest\\Uninstall\\Glimmerline";

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
    std::wstring installDir() const { return folder / L"LocalAppData\\Programs\\Glimmerline"; }
    std::string updateResult() const { return readFile(folder / L"LocalAppData\\Glimmerline\\update\\update-result.txt"); }
    bool logHas(const std::string& text) const
    {
        for (const std::string& line : logLines(folder.path())) {
            if (line.find(text) != std::string::npos) return true;
        }
        return false;
    }

    TestFolder folder;
};

} // namespace gls::test
