// Functions of system libraries that the setup does not import, loaded from the system folder only.
#pragma once

namespace gls {

// The address of an exported function of a library in the system folder, or null when the
// library or the function is missing. The library stays loaded for the rest of the process.
void* systemFunctionAddress(const wchar_t* library, const char* function);

// The same, typed: Fn is the function's pointer type.
template <typename Fn>
Fn systemFunction(const wchar_t* library, const char* function)
{
    return reinterpret_cast<Fn>(systemFunctionAddress(library, function));
}

} // namespace gls
