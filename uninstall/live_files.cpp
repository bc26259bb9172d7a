// Removing the Live script and device.
#include "live_files.h"

#include "core/ascii_case.h"
#include "core/live_layout.h"
#include "core/path_rules.h"
#include "platform/env.h"
#include "platform/file_io.h"
#include "platform/file_status.h"
#include "platform/log.h"
#include "platform/remove_files.h"
#include "platform/system_error_text.h"
#include "platform/tree_walk.h"
#include "platform/unique_handle.h"
#include "user_libraries.h"

#include <windows.h>

namespace gls {

namespace {

// The lower-case extension of a path's file name; the name ends before a stream suffix.
std::wstring lowerExtension(const std::wstring& path)
{
    std::wstring name = lastComponent(path);
    name = name.substr(0, name.find(L':'));
    if (name == L"." || name == L"..") return {};
    size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring::npos || dot == 0) return {};
    return asciiLower(name.substr(dot));
}

// A link in the script folder's or a device file's place (a developer's working copy linked in)
// goes as a link: what it leads to is not Glimmerline's to remove.
void removeLinkInPlace(const std::wstring& path, std::vector<std::wstring>& stayed)
{
    if (removeLink(path)) {
        logLine(L"removed %ls", path.c_str());
    } else {
        logLine(L"could not remove %ls: %ls", path.c_str(), systemErrorText(::GetLastError()).c_str());
        stayed.push_back(path);
    }
}

// Refuses, before any call, a path that a C-string call would read as another one.
bool mayTouch(const std::wstring& path)
{
    if (isLiveRemovalPath(path)) return true;
    // A control character is not written out: a line end in it would forge a line of the log.
    logLine(holdsControlCharacter(path) ? L"left alone a path that holds a control character"
                                        : L"left alone %ls: not a path of Live's to remove",
            path.c_str());
    return false;
}

void removeScriptFolder(const std::wstring& library, std::vector<std::wstring>& stayed)
{
    std::wstring script = scriptFolderIn(library);
    if (!mayTouch(script)) return;
    if (isLink(script)) {
        // A link to a file in the folder's place is left alone, as a file there is.
        if (isFolder(script)) removeLinkInPlace(script, stayed);
        return;
    }
    if (!isFolder(script)) return;
    // Every file is checked before anything is deleted, so the folder is never half removed
    // because Live holds one of its files.
    bool inUse = false;
    for (const TreeEntry& e : walkTree(script)) {
        if (e.isFolder || canRemoveNow(e.path)) continue;
        logLine(L"in use: %ls", e.path.c_str());
        inUse = true;
    }
    if (inUse) {
        stayed.push_back(script);
        return;
    }
    std::vector<std::wstring> left;
    removeTree(script, &left);
    if (!left.empty() || targetExists(script)) {
        stayed.push_back(script);
    } else {
        logLine(L"removed %ls", script.c_str());
    }
}

void removeDeviceFiles(const std::wstring& library, std::vector<std::wstring>& stayed)
{
    for (bool deviceScript : {false, true}) {
        std::wstring path = deviceFileIn(library, deviceScript);
        if (!mayTouch(path)) continue;
        if (isLink(path)) {
            removeLinkInPlace(path, stayed);
            continue;
        }
        if (!targetExists(path)) continue;
        if (deleteFile(path)) {
            logLine(L"removed %ls", path.c_str());
        } else {
            logLine(L"could not remove %ls: %ls", path.c_str(), systemErrorText(::GetLastError()).c_str());
            stayed.push_back(path);
        }
    }
}

} // namespace

bool canRemoveNow(const std::wstring& path)
{
    UniqueFile file(::CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    std::wstring ext = lowerExtension(path);
    if (ext != L".pyd" && ext != L".dll" && ext != L".exe") return true;
    // A loaded library refuses deletion on close even when it could be opened for delete.
    FILE_DISPOSITION_INFO disposition = {TRUE};
    if (!::SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof(disposition))) return false;
    disposition.DeleteFile = FALSE;
    ::SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof(disposition));
    return true;
}

std::vector<std::wstring> removeLiveFiles(const Env& env)
{
    std::vector<std::wstring> stayed;
    if (env.abletonDir.empty()) return stayed;
    for (const std::wstring& library : findUserLibraries(env.abletonDir)) {
        if (env.testMode && !isInsideFolder(library, env.testRoot)) continue;
        removeScriptFolder(library, stayed);
        removeDeviceFiles(library, stayed);
    }
    return stayed;
}

} // namespace gls
