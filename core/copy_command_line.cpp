// The temporary copy's command line.
#include "copy_command_line.h"

#include "args.h"
#include "path_rules.h"

namespace gls {

std::wstring copyCommandLine(const std::wstring& copyPath, const std::wstring& folder, unsigned long long parentHandle,
                             unsigned long long resultHandle, const std::string& language, const Args& args)
{
    // A backslash right before the closing quote would escape it, and the folder would swallow
    // the switches after it: trailing separators go, and a bare root's one is doubled.
    std::wstring from = folder;
    while (from.size() > rootLength(from) && (from.back() == L'\\' || from.back() == L'/')) from.pop_back();
    if (!from.empty() && from.back() == L'\\') from += L'\\';
    std::wstring line = L"\"" + copyPath + L"\" /uninstall \"/from=" + from + L"\" /parent=" +
                        std::to_wstring(parentHandle);
    if (resultHandle != 0) line += L" /result=" + std::to_wstring(resultHandle);
    if (!language.empty()) line += L" /LANG=" + std::wstring(language.begin(), language.end());
    if (args.silent) line += L" /S";
    if (args.removeSettings) line += L" /RemoveSettings";
    if (args.uiAt) line += L" --ui-at " + std::to_wstring(args.uiAtX) + L"," + std::to_wstring(args.uiAtY);
    return line;
}

} // namespace gls
