// Where Glimmerline's parts lie in a Live User Library, and which paths the Live removal may touch
// at all. Pure text rules, so that they can be checked on the very string a system call receives.
#pragma once

#include <string>

namespace gls {

// The folder Live keeps below each library project folder.
inline constexpr wchar_t kUserLibraryName[] = L"User Library";

// The control-surface script folder and the Max device's two files, each below a User Library.
std::wstring scriptFolderIn(const std::wstring& userLibrary);
std::wstring deviceFileIn(const std::wstring& userLibrary, bool deviceScript);

// Any character below U+0020, DEL or a C1 control. A C-string call stops at a NUL, so text
// holding one names something other than what the program sees.
bool holdsControlCharacter(const std::wstring& text);

// A path the Live removal may act on: absolute, free of control characters, and the script folder
// or one of the device files below a named User Library folder, nothing else.
bool isLiveRemovalPath(const std::wstring& path);

} // namespace gls
