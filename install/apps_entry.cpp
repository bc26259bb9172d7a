// Writes the installed-apps entry under the current user's uninstall key.
#include "apps_entry.h"

#include "core/path_join.h"
#include "core/product.h"
#include "core/version.h"
#include "platform/env.h"
#include "platform/log.h"
#include "platform/unique_handle.h"

#include <windows.h>

#include <cwchar>

namespace gls {

namespace {

const wchar_t kDisplayName[] = L"DisplayName";
const wchar_t kDisplayVersion[] = L"DisplayVersion";
const wchar_t kPublisher[] = L"Publisher";
const wchar_t kDisplayIcon[] = L"DisplayIcon";
const wchar_t kInstallLocation[] = L"InstallLocation";
const wchar_t kUninstallString[] = L"UninstallString";
const wchar_t kQuietUninstallString[] = L"QuietUninstallString";
const wchar_t kEstimatedSize[] = L"EstimatedSize";
const wchar_t kNoModify[] = L"NoModify";
const wchar_t kNoRepair[] = L"NoRepair";
const wchar_t kInstallDate[] = L"InstallDate";

struct Value {
    const wchar_t* name;
    std::wstring text; // REG_SZ when isNumber is false
    DWORD number = 0;
    bool isNumber = false;
};

LSTATUS setValue(HKEY key, const Value& v)
{
    if (v.isNumber) {
        return ::RegSetValueExW(key, v.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.number), sizeof(DWORD));
    }
    return ::RegSetValueExW(key, v.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.text.c_str()),
                            static_cast<DWORD>((v.text.size() + 1) * sizeof(wchar_t)));
}

} // namespace

std::uint32_t estimatedSizeKiB(std::uint64_t totalBytes)
{
    return static_cast<std::uint32_t>((totalBytes + 1023) / 1024);
}

bool writeAppsEntry(const Env& env, const std::wstring& installDir, std::uint64_t totalBytes)
{
    UniqueKey key;
    LSTATUS created = ::RegCreateKeyExW(HKEY_CURRENT_USER, env.uninstallKey.c_str(), 0, nullptr,
                                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.put(), nullptr);
    if (created != ERROR_SUCCESS) {
        logLine(L"can't write the installed apps entry (%ld)", static_cast<long>(created));
        return false;
    }

    std::wstring uninstall = L"\"" + joinPath(installDir, kUninstallerExe) + L"\" /uninstall";
    SYSTEMTIME today;
    ::GetLocalTime(&today);
    wchar_t date[16];
    std::swprintf(date, 16, L"%04u%02u%02u", today.wYear, today.wMonth, today.wDay);

    const Value values[] = {
        {kDisplayName, kAppName},
        {kDisplayVersion, kSetupVersion},
        {kPublisher, L"Edda Rowan"},
        {kDisplayIcon, joinPath(installDir, kAppExe) + L",0"},
        {kInstallLocation, installDir},
        {kUninstallString, uninstall},
        {kQuietUninstallString, uninstall + L" /S"},
        {kEstimatedSize, L"", estimatedSizeKiB(totalBytes), true},
        {kNoModify, L"", 1, true},
        {kNoRepair, L"", 1, true},
        {kInstallDate, date},
    };
    for (const Value& v : values) {
        LSTATUS set = setValue(key.get(), v);
        if (set != ERROR_SUCCESS) {
            logLine(L"can't write the installed apps entry (%ld)", static_cast<long>(set));
            return false;
        }
    }
    return true;
}

} // namespace gls
