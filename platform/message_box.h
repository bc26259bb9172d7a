// Message boxes of the setup: no owner window, the caption "Glimmerline Setup".
#pragma once

namespace gls {

// icon is one of MB_ICONERROR, MB_ICONINFORMATION, MB_ICONWARNING.
void showMessage(const wchar_t* text, unsigned icon);

} // namespace gls
