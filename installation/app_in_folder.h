// Whether the app is in a folder, the one answer the runs, the installation lookup and the folder
// picker share.
#pragma once

#include <string>

namespace gls {

// An entry named "Glimmerline.exe" or "Uninstall.exe" is in the folder. Any kind of entry counts,
// a link that leads nowhere too: those are the names the setup takes over or removes.
bool appInFolder(const std::wstring& folder);

// An entry named "Glimmerline.exe" is in the folder, to be started.
bool appProgramInFolder(const std::wstring& folder);

} // namespace gls
