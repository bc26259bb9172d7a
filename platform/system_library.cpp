// Loads a library from the system folder and finds a function in it.
#include "system_library.h"

#include <windows.h>

namespace gls {

void* systemFunctionAddress(const wchar_t* library, const char* function)
{
    // The setup starts from Downloads or Temp, where anyone may have left a library of the same
    // name: only the system folder is searched, whatever the process-wide search path says. The
    // module is never freed, because what it hands out (factories, COM objects) lives in it.
    HMODULE module = ::LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(module, function));
}

} // namespace gls
