// The command line the uninstaller starts its temporary copy with.
#pragma once

#include <string>

namespace gls {

struct Args;

// The copy's command line: "/uninstall", the quoted "/from=", "/parent=", "/result=" when a pipe
// for the result is given (not 0), the language the uninstaller speaks ("/LANG="), and the
// passed-on choices.
std::wstring copyCommandLine(const std::wstring& copyPath, const std::wstring& folder, unsigned long long parentHandle,
                             unsigned long long resultHandle, const std::string& language, const Args& args);

} // namespace gls
