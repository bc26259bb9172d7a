// Turns a payload name into a path text relative to the install folder.
#include "payload_name.h"

#include "core/payload_path.h"

#include <windows.h>

namespace gls {

std::wstring pathFromPayloadName(const std::string& name)
{
    // A name that is not valid UTF-8 has no faithful path; it is refused rather than guessed at.
    if (!isAllowedPayloadPath(name) || !isValidUtf8(name)) return {};
    int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), static_cast<int>(name.size()), nullptr,
                                  0);
    if (n <= 0) return {};
    std::wstring path(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), static_cast<int>(name.size()), path.data(), n);
    return path;
}

} // namespace gls
