// The product's names: the app's files and shortcut, the publisher, the setup's own names, and the
// names of the setup's work inside the install folder. Each name lives here once; the resource
// script takes the macros for the version block.
#pragma once

// The app's name: its default folder and settings folder, the installed-apps entry, the wordmark.
#define GLS_APP_NAME "Glimmerline"
// Who publishes it: the installed-apps entry's "Publisher" and the version block's company.
#define GLS_PUBLISHER "Edda Rowan"
// The message boxes' caption, the window's title when it installs, the version block's description.
#define GLS_SETUP_TITLE "Glimmerline Setup"
// The uninstaller's name, wide for paths and as bytes where it stands beside the payload's names.
#define GLS_UNINSTALLER_NAME "Uninstall.exe"
// Work names begin with this; a later run clears what an interrupted one left behind.
#define GLS_WORK_PREFIX ".glsetup-"

#ifndef RC_INVOKED
#include <cstddef>
#include <string>

namespace gls {

inline constexpr wchar_t kAppName[] = L"" GLS_APP_NAME;
inline constexpr wchar_t kPublisherName[] = L"" GLS_PUBLISHER;
inline constexpr wchar_t kAppExe[] = L"Glimmerline.exe";
inline constexpr wchar_t kShortcutName[] = L"Glimmerline.lnk";

inline constexpr wchar_t kUninstallerExe[] = L"" GLS_UNINSTALLER_NAME;
inline constexpr char kUninstallerPayloadName[] = GLS_UNINSTALLER_NAME;

// The uninstaller's copy in the temporary folder: this prefix, the process id and ".exe".
inline constexpr wchar_t kUninstallCopyPrefix[] = L"Glimmerline-Uninstall-";
inline std::wstring uninstallCopyName(unsigned long processId)
{
    return kUninstallCopyPrefix + std::to_wstring(processId) + L".exe";
}

inline constexpr wchar_t kWorkPrefix[] = L"" GLS_WORK_PREFIX;
inline constexpr char kWorkPrefixBytes[] = GLS_WORK_PREFIX;
// The file that proves the folder takes writes, the folder the new files are staged in, the
// folder the old files are moved aside into, and the folder an uninstall moves the app's files
// into before it deletes them, so that their names are free at once. Each is followed by a tag
// of the job that made it: "-", the process id in hexadecimal and "-" with the job's number in the
// process (its last digit), so that a job never meets a name an earlier one left pending. The tag
// is short: the old-files folder is the deepest place a payload name takes.
inline constexpr wchar_t kProbePrefix[] = L"" GLS_WORK_PREFIX "probe";
inline constexpr wchar_t kStagingPrefix[] = L"" GLS_WORK_PREFIX "new";
inline constexpr wchar_t kOldFilesPrefix[] = L"" GLS_WORK_PREFIX "old";
inline constexpr wchar_t kDeletingPrefix[] = L"" GLS_WORK_PREFIX "del";

inline std::wstring workName(const wchar_t* prefix, unsigned long processId, unsigned job)
{
    const wchar_t digits[] = L"0123456789abcdef";
    std::wstring hex;
    do {
        hex.insert(hex.begin(), digits[processId % 16]);
        processId /= 16;
    } while (processId != 0);
    return prefix + (L"-" + hex + L"-" + digits[job % 10]);
}
// The longest staging or old-files folder name: a process id has at most 8 hexadecimal digits.
inline constexpr std::size_t kLongestWorkFolderName = sizeof(kOldFilesPrefix) / sizeof(wchar_t) - 1 + 1 + 8 + 1 + 1;

} // namespace gls
#endif
