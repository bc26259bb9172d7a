// Reading a command line into the switch record: the system splits it, the core's rules apply.
#pragma once

#include "core/args.h"

#include <string>

namespace gls {

// Parses a whole command line: the install folder first, then the split elements.
Args parseCommandLine(const std::wstring& commandLine);

// Parses the command line of this process.
Args parseArgs();

} // namespace gls
