// The per-user installed-apps entry that lists Glimmerline among the system's apps. This file owns
// the key (the Env's uninstallKey under HKEY_CURRENT_USER): the install writes it, the
// installation lookup and the uninstall run read it, the uninstall deletes it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace gls {

struct Env;

// The eleven values the install writes.
inline constexpr wchar_t kDisplayName[] = L"DisplayName";
inline constexpr wchar_t kDisplayVersion[] = L"DisplayVersion";
inline constexpr wchar_t kPublisher[] = L"Publisher";
inline constexpr wchar_t kDisplayIcon[] = L"DisplayIcon";
inline constexpr wchar_t kInstallLocation[] = L"InstallLocation";
inline constexpr wchar_t kUninstallString[] = L"UninstallString";
inline constexpr wchar_t kQuietUninstallString[] = L"QuietUninstallString";
inline constexpr wchar_t kEstimatedSize[] = L"EstimatedSize";
inline constexpr wchar_t kNoModify[] = L"NoModify";
inline constexpr wchar_t kNoRepair[] = L"NoRepair";
inline constexpr wchar_t kInstallDate[] = L"InstallDate";

// "EstimatedSize": the installed bytes in KiB, rounded up, truncated to 32 bits.
std::uint32_t estimatedSizeKiB(std::uint64_t totalBytes);

// Writes the key and its eleven values; on false the log line has been written.
[[nodiscard]] bool writeAppsEntry(const Env& env, const std::wstring& installDir, std::uint64_t totalBytes);

// A string value of the entry, whole; nothing when the entry or the value is missing or the value
// is no string.
std::optional<std::wstring> readAppsEntry(const Env& env, const wchar_t* valueName);

// Deletes the key with its values. A key that is gone already counts as deleted; any other
// failure is logged, and the uninstall goes on.
void deleteAppsEntry(const Env& env);

} // namespace gls
