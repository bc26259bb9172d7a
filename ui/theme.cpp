// Light or dark, after the user's app theme.
#include "theme.h"

#include "platform/system_library.h"

namespace gls {

bool readLightTheme()
{
    DWORD value = 1;
    DWORD size = sizeof(value);
    ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                   L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value != 0;
}

void applyTitleBarTheme(HWND window, bool light)
{
    using SetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    static const SetAttributeFn setAttribute = systemFunction<SetAttributeFn>(L"dwmapi.dll", "DwmSetWindowAttribute");
    if (!setAttribute) return;
    BOOL dark = light ? FALSE : TRUE;
    // 20 is the attribute's number since Windows 10 20H1; earlier builds knew it as 19.
    if (FAILED(setAttribute(window, 20, &dark, sizeof(dark)))) setAttribute(window, 19, &dark, sizeof(dark));
}

} // namespace gls
