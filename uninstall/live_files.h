// Removing Glimmerline's control-surface script and Max device from every Live User Library,
// leaving whatever Live still holds.
#pragma once

#include <string>
#include <vector>

namespace gls {

struct Env;

// True when the file could be deleted now, or does not exist. Libraries and programs get the
// stricter test of asking for deletion on close and withdrawing it at once; nothing is deleted.
bool canRemoveNow(const std::wstring& path);

// Removes the script folder (only when none of its files is held) and the device files from
// each User Library. Returns the paths that stayed.
std::vector<std::wstring> removeLiveFiles(const Env& env);

} // namespace gls
