// Removing Glimmerline's control-surface script and Max device from every Live User Library,
// leaving whatever Live still holds and whatever Windows protects.
#pragma once

#include "platform/file_io.h"

#include <string>
#include <vector>

namespace gls {

struct Env;

// A script folder or device file that stayed, and why: Live (or another program) holds it, so
// trying again once it has let go helps; or the folder is protected, where trying again cannot.
struct LeftFile {
    std::wstring path;
    Refusal why = Refusal::Other;
};

// True when the file could be deleted now, or does not exist. Libraries and programs get the
// stricter test of asking for deletion on close and withdrawing it at once; nothing is deleted.
// When false and `why` is given, it says why.
bool canRemoveNow(const std::wstring& path, Refusal* why = nullptr);

// Removes the script folder (only when none of its files is held) and the device files from
// each User Library. Returns what stayed.
std::vector<LeftFile> removeLiveFiles(const Env& env);

} // namespace gls
