// A registry key of its own for one test, under the test key, deleted afterwards.
#pragma once

#include "product_names.h"

#include <windows.h>

#include <string>

namespace gls::test {

class RegistryScope {
public:
    RegistryScope()
        : base_(kTestKey +
                (L"\\Unit-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(counter()++)))
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
    }
    ~RegistryScope() { ::RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str()); }
    RegistryScope(const RegistryScope&) = delete;
    RegistryScope& operator=(const RegistryScope&) = delete;

    // The key a test's Env uses as its uninstall key.
    std::wstring uninstallKey() const { return base_ + L"\\Uninstall\\" + kAppName; }

    bool setString(const wchar_t* name, const std::wstring& value) const
    {
        return ::RegSetKeyValueW(HKEY_CURRENT_USER, uninstallKey().c_str(), name, REG_SZ, value.c_str(),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }

    bool setDword(const wchar_t* name, DWORD value) const
    {
        return ::RegSetKeyValueW(HKEY_CURRENT_USER, uninstallKey().c_str(), name, REG_DWORD, &value, sizeof(value)) ==
               ERROR_SUCCESS;
    }

private:
    static int& counter()
    {
        static int n = 0;
        return n;
    }
    std::wstring base_;
};

} // namespace gls::test
