// The running program's own file.
#pragma once

#include <string>

namespace gls {

// The full path of the running program file.
std::wstring ownExePath();

} // namespace gls
