// Removing the Live script and device.
#include "live_files.h"

#include "core/ascii_case.h"
#include "core/live_layout.h"
#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "platform/env.h"
#include "platform/file_io.h"
#include "platform/file_status.h"
#include "platform/job_number.h"
#include "platform/log.h"
#include "platform/remove_files.h"
#include "platform/system_error_text.h"
#include "platform/tree_walk.h"
#include "platform/unique_handle.h"
#include "user_libraries.h"

#include <windows.h>

#include <optional>

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

// Logs what stayed and why, from the system's error, and lists it.
void leave(const std::wstring& path, DWORD error, std::vector<LeftFile>& stayed)
{
    logLine(L"could not remove %ls: %ls", path.c_str(), systemErrorText(error).c_str());
    stayed.push_back({path, refusalOf(error)});
}

// A name beside the file, on its way out: a folder that refuses changes refuses the move too, where
// some systems report a delete as done though nothing was deleted.
std::wstring asideOf(const std::wstring& path)
{
    return joinPath(parentPath(path),
                    workName(kDeletingPrefix, ::GetCurrentProcessId(), nextJobNumber()) + L"-" + lastComponent(path));
}

// A link in the script folder's or a device file's place (a developer's working copy linked in)
// goes as a link: what it leads to is not Glimmerline's to remove.
void removeLinkInPlace(const std::wstring& path, std::vector<LeftFile>& stayed)
{
    if (removeLink(path)) {
        logLine(L"removed %ls", path.c_str());
    } else {
        leave(path, ::GetLastError(), stayed);
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

void removeScriptFolder(const std::wstring& library, std::vector<LeftFile>& stayed)
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
    // because Live holds one of its files. A protected folder is the reason to report: trying
    // again after Live has let go would not help there.
    std::optional<Refusal> refused;
    for (const TreeEntry& e : walkTree(script)) {
        Refusal why = Refusal::Other;
        if (e.isFolder || canRemoveNow(e.path, &why)) continue;
        logLine(why == Refusal::Protected ? L"protected: %ls" : L"in use: %ls", e.path.c_str());
        if (!refused || why == Refusal::Protected) refused = why;
    }
    if (refused) {
        stayed.push_back({script, *refused});
        return;
    }
    // Taken out of its place whole first, so that Live never finds half a script, and a folder
    // that refuses changes says so.
    std::wstring aside = asideOf(script);
    if (!moveFile(script, aside, 0)) {
        leave(script, ::GetLastError(), stayed);
        return;
    }
    std::vector<std::wstring> left;
    removeTree(aside, &left);
    if (left.empty() && !targetExists(aside)) {
        logLine(L"removed %ls", script.c_str());
        return;
    }
    if (!moveFile(aside, script, 0)) logLine(L"%ls is left as %ls", script.c_str(), aside.c_str());
    logLine(L"could not remove %ls: another program has a file in it open", script.c_str());
    stayed.push_back({script, Refusal::InUse});
}

void removeDeviceFiles(const std::wstring& library, std::vector<LeftFile>& stayed)
{
    for (bool deviceScript : {false, true}) {
        std::wstring path = deviceFileIn(library, deviceScript);
        if (!mayTouch(path)) continue;
        if (isLink(path)) {
            removeLinkInPlace(path, stayed);
            continue;
        }
        if (!targetExists(path)) continue;
        // A read-only one stays, as the user marked it so.
        DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            leave(path, ERROR_FILE_READ_ONLY, stayed);
        } else if (deleteByWayOf(path, asideOf(path))) {
            logLine(L"removed %ls", path.c_str());
        } else {
            leave(path, ::GetLastError(), stayed);
        }
    }
}

} // namespace

bool canRemoveNow(const std::wstring& path, Refusal* why)
{
    UniqueFile file(::CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        DWORD error = ::GetLastError();
        if (why) *why = refusalOf(error);
        return error == ERROR_FILE_NOT_FOUND;
    }
    std::wstring ext = lowerExtension(path);
    if (ext != L".pyd" && ext != L".dll" && ext != L".exe") return true;
    // A loaded library refuses deletion on close even when it could be opened for delete: the
    // program that loaded it holds it.
    FILE_DISPOSITION_INFO disposition = {TRUE};
    if (!::SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof(disposition))) {
        if (why) *why = Refusal::InUse;
        return false;
    }
    disposition.DeleteFile = FALSE;
    ::SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof(disposition));
    return true;
}

std::vector<LeftFile> removeLiveFiles(const Env& env)
{
    std::vector<LeftFile> stayed;
    if (env.abletonDir.empty()) return stayed;
    for (const std::wstring& library : findUserLibraries(env.abletonDir)) {
        if (env.testMode && !isInsideFolder(library, env.testRoot)) continue;
        removeScriptFolder(library, stayed);
        removeDeviceFiles(library, stayed);
    }
    return stayed;
}

} // namespace gls
