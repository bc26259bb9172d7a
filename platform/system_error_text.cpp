// The system's text for a Windows error code.
#include "system_error_text.h"

#include "unique_handle.h"

#include <windows.h>

namespace gls {

std::wstring systemErrorText(unsigned long code)
{
    wchar_t* buffer = nullptr;
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                        FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                    nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    UniqueLocal owner(buffer);
    std::wstring text = (length > 0 && buffer) ? std::wstring(buffer, length) : std::wstring();
    while (!text.empty() &&
           (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.')) {
        text.pop_back();
    }
    return text + L" (" + std::to_wstring(code) + L")";
}

} // namespace gls
