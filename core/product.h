// The product's names: the app's files and shortcut, the setup's own names, and the names of the
// setup's work inside the install folder. Each name lives here once.
#pragma once

#include <cstddef>
#include <string>

// The uninstaller's name, wide for paths and as bytes where it stands beside the payload's names.
#define GLS_UNINSTALLER_NAME "Uninstall.exe"
// Work names begin with this; a later run clears what an interrupted one left behind.
#define GLS_WORK_PREFIX ".glsetup-"

namespace gls {

// The app's name: its default folder and settings folder, the installed-apps entry, the wordmark.
inline constexpr wchar_t kAppName[] = L"Glimmerline";
inline constexpr wchar_t kAppExe[] = L"Glimmerline.exe";
inline constexpr wchar_t kShortcutName[] = L"Glimmerline.lnk";

inline constexpr wchar_t kUninstallerExe[] = L"" GLS_UNINSTALLER_NAME;
inline constexpr char kUninstallerPayloadName[] = GLS_UNINSTALLER_NAME;

// The uninstaller's copy in the temporary folder: this prefix, the process id and ".exe".
inline constexpr wchar_t kUninstallCopyPrefix[] = L"Glimmerline-Uninstall-";

// The message boxes' caption and the window's title when it installs.
inline constexpr wchar_t kSetupTitle[] = L"Glimmerline Setup";

inline constexpr wchar_t kWorkPrefix[] = L"" GLS_WORK_PREFIX;
inline constexpr char kWorkPrefixBytes[] = GLS_WORK_PREFIX;
// The file that proves the folder takes writes, the folder the new files are staged in, and the
// folders ("-" and the process id follow) the old files are moved aside into.
inline constexpr wchar_t kProbeName[] = L"" GLS_WORK_PREFIX "probe";
inline constexpr wchar_t kStagingName[] = L"" GLS_WORK_PREFIX "new";
inline constexpr wchar_t kOldFilesPrefix[] = L"" GLS_WORK_PREFIX "old";

// A run's old-files folder, and the longest such name: a process id has at most 10 digits.
inline std::wstring oldFilesFolderName(unsigned long processId)
{
    return kOldFilesPrefix + (L"-" + std::to_wstring(processId));
}
inline constexpr std::size_t kLongestOldFilesFolderName = sizeof(kOldFilesPrefix) / sizeof(wchar_t) - 1 + 1 + 10;

} // namespace gls
