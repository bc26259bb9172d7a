// Reads this process's command line from the system.
#include "command_line.h"

#include "unique_handle.h"

#include <shellapi.h>
#include <windows.h>

namespace gls {

Args parseCommandLine(const std::wstring& commandLine)
{
    Args args;
    std::wstring line = commandLine;
    takeInstallDir(line, args);

    int count = 0;
    LPWSTR* split = ::CommandLineToArgvW(line.c_str(), &count);
    if (!split) return args;
    UniqueLocal owner(reinterpret_cast<HLOCAL>(split));
    std::vector<std::wstring> elements(split, split + count);
    applySwitches(elements, args);
    return args;
}

Args parseArgs() { return parseCommandLine(::GetCommandLineW()); }

} // namespace gls
