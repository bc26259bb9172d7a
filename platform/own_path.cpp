// The running program's own file, as the system knows it.
#include "own_path.h"

#include <windows.h>

namespace gls {

std::wstring ownExePath()
{
    std::wstring path(32768, L'\0');
    DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path;
}

} // namespace gls
