// The product's names as the tests spell them: the program's own from core/product.h, their narrow
// forms, and where the test mode puts the app's things below a test folder.
#pragma once

#include "core/product.h"

#include <string>

namespace gls::test {

using gls::kAppExe;
using gls::kAppName;
using gls::kOldFilesPrefix;
using gls::kShortcutName;
using gls::kStagingPrefix;
using gls::kUninstallCopyPrefix;
using gls::kUninstallerExe;
using gls::kWorkPrefix;
using gls::uninstallCopyName;

// The product's names are ASCII, so each UTF-16 unit is one byte.
inline std::string asciiBytes(const wchar_t* name)
{
    std::string bytes;
    for (; *name != L'\0'; ++name) bytes.push_back(static_cast<char>(*name));
    return bytes;
}

// The app's program file as the payload names it.
inline const std::string kAppPayloadName = asciiBytes(kAppExe);

// The setup program the build makes.
inline constexpr wchar_t kSetupExe[] = L"GlimmerlineSetup.exe";

// The setup log's name, in the temporary folder.
inline constexpr wchar_t kLogName[] = L"Glimmerline-Setup.log";

// The app's files in a folder.
inline std::wstring appExeIn(const std::wstring& folder) { return folder + L"\\" + kAppExe; }
inline std::wstring uninstallerIn(const std::wstring& folder) { return folder + L"\\" + kUninstallerExe; }
inline std::wstring shortcutIn(const std::wstring& folder) { return folder + L"\\" + kShortcutName; }

// Where the test mode puts things, relative to its test folder.
inline const std::wstring kTestInstallDir = L"LocalAppData\\Programs\\" + std::wstring(kAppName);
inline const std::wstring kTestSettingsDir = L"LocalAppData\\" + std::wstring(kAppName);
inline const std::wstring kTestUpdateDir = kTestSettingsDir + L"\\update";
inline const std::wstring kTestUpdateResult = kTestUpdateDir + L"\\update-result.txt";
inline const std::wstring kTestSettingsFile = kTestSettingsDir + L"\\settings.json";
inline const std::wstring kTestStartMenuShortcut = L"StartMenu\\Programs\\" + std::wstring(kShortcutName);
inline const std::wstring kTestDesktopShortcut = L"Desktop\\" + std::wstring(kShortcutName);
inline const std::wstring kTestLog = L"Temp\\" + std::wstring(kLogName);
// The uninstaller's copies in the temporary folder begin with this.
inline const std::wstring kTestUninstallCopyPrefix = L"Temp\\" + std::wstring(kUninstallCopyPrefix);

// The test mode's window classes, and the app's own window class outside it.
inline constexpr wchar_t kTestAppWindowClass[] = L"GlimmerlineSetupTestApp";
inline constexpr wchar_t kTestSetupWindowClass[] = L"GlimmerlineSetupTestWindow";
inline constexpr wchar_t kAppWindowClass[] = L"GlimmerlineMain";

// The test mode's registry key below HKEY_CURRENT_USER, and its installed-apps entry there.
#define GLS_TEST_KEY L"Software\\GlimmerlineSetupTest"
inline constexpr wchar_t kTestKey[] = GLS_TEST_KEY;
inline constexpr wchar_t kTestUninstallKey[] = GLS_TEST_KEY L"\\Uninstall";
inline constexpr wchar_t kTestAppKey[] = GLS_TEST_KEY L"\\Uninstall\\Glimmerline";
#undef GLS_TEST_KEY

} // namespace gls::test
