// The system's text for a Windows error code, for logs and messages.
#pragma once

#include <string>

namespace gls {

// "The system cannot find the file specified (2)": the text without its final full stop, then the
// code in parentheses; only " (n)" for a code the system has no text for.
std::wstring systemErrorText(unsigned long code);

} // namespace gls
