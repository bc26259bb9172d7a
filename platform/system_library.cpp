// Loads a library from the system folder and finds a function in it.
#include "system_library.h"

#include "unique_handle.h"

#include <windows.h>

namespace gls {

void* systemFunctionAddress(const wchar_t* library, const char* function)
{
    // The setup starts from Downloads or Temp, where anyone may have left a library of the same
    // name: only the system folder is searched, whatever the process-wide search path says.
    UniqueModule module(::LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!module) return nullptr;
    // What the library hands out (factories, COM objects) lives in its code, so it is pinned for
    // the rest of the process: unloading it while an object or one of its threads is about would
    // crash, even at exit.
    HMODULE pinned = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<LPCWSTR>(module.get()), &pinned)) {
        return nullptr;
    }
    return reinterpret_cast<void*>(::GetProcAddress(module.get(), function));
}

} // namespace gls
