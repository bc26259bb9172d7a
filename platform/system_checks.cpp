// What the setup asks of the system before it installs: the Windows build and Media Foundation.
#include "system_checks.h"

#include "core/path_join.h"
#include "env.h"
#include "file_status.h"

#include <windows.h>

namespace gls {

std::uint32_t windowsBuild()
{
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    auto rtlGetVersion = ntdll ? reinterpret_cast<RtlGetVersionFn>(
                                     reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")))
                               : nullptr;
    if (!rtlGetVersion) return 0;
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    static_assert(sizeof(OSVERSIONINFOW) == 276);
    if (rtlGetVersion(&info) != 0 || info.dwMajorVersion < 10) return 0;
    return info.dwBuildNumber;
}

bool mediaFoundationPresent(const Env& env)
{
    if (env.noMediaFoundation) return false;
    wchar_t system[260];
    UINT length = ::GetSystemDirectoryW(system, 260);
    if (length == 0 || length >= 260) return true; // cannot tell, and does not block
    std::wstring folder(system, length);
    return targetExists(joinPath(folder, L"mfplat.dll")) && targetExists(joinPath(folder, L"mfreadwrite.dll"));
}

} // namespace gls
