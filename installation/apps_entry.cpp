// The installed-apps entry under the current user's uninstall key: written, read and deleted here.
#include "apps_entry.h"

#include "core/path_join.h"
#include "core/product.h"
#include "core/version.h"
#include "platform/env.h"
#include "platform/log.h"
#include "platform/system_error_text.h"
#include "platform/unique_handle.h"
#include "platform/user_registry.h"

#include <windows.h>

#include <cwchar>

namespace gls {

namespace {

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
        logLine(L"can't write the installed apps entry: %ls",
                systemErrorText(static_cast<unsigned long>(created)).c_str());
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
        {kPublisher, kPublisherName},
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
            logLine(L"can't write the installed apps entry: %ls",
                    systemErrorText(static_cast<unsigned long>(set)).c_str());
            return false;
        }
    }
    return true;
}

std::optional<std::wstring> readAppsEntry(const Env& env, const wchar_t* valueName)
{
    return readUserString(env.uninstallKey, valueName);
}

void deleteAppsEntry(const Env& env)
{
    LSTATUS deleted = ::RegDeleteTreeW(HKEY_CURRENT_USER, env.uninstallKey.c_str());
    if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND) {
        logLine(L"could not remove the installed apps entry: %ls",
                systemErrorText(static_cast<unsigned long>(deleted)).c_str());
    }
}

} // namespace gls
