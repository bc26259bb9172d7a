// Writes the update result file for in-app updaters.
#include "update_result.h"

#include "core/path_join.h"
#include "core/update_result_text.h"
#include "platform/create_folders.h"
#include "platform/env.h"
#include "platform/file_io.h"
#include "platform/file_status.h"
#include "platform/log.h"
#include "platform/text.h"
#include "platform/unique_handle.h"

#include <windows.h>

namespace gls {

namespace {

bool writeBytes(const std::wstring& path, const std::string& bytes)
{
    return writeWholeFile(path, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), true);
}

} // namespace

void writeUpdateResult(const Env& env, ExitCode code, const std::wstring& reason)
{
    if (env.settingsDir.empty()) return;
    std::wstring folder = joinPath(env.settingsDir, L"update");
    createFolders(folder);
    std::wstring path = joinPath(folder, L"update-result.txt");
    std::string bytes = updateResultText(exitNumber(code), toUtf8(reason));

    // Written beside the old result and moved over it, so that a reader finds the one or the other,
    // never part of one. A reader that holds the old one open keeps it from being replaced, after a
    // wait; one that shares writing lets it be written over in place.
    std::wstring partial = path + L".partial";
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    bool staged = writeBytes(partial, bytes);
    bool written = (staged && moveFile(partial, path, MOVEFILE_REPLACE_EXISTING)) || writeBytes(path, bytes);
    // Otherwise an earlier run's result must not stand for this one. Where the system frees the
    // name at once, the new result takes it after all.
    bool removed = !written && entryExists(path) && ::DeleteFileW(path.c_str());
    if (removed) written = staged && ::MoveFileExW(partial.c_str(), path.c_str(), 0);
    (void)deleteFile(partial);

    if (written) {
        logLine(L"wrote %ls (code %d)", path.c_str(), exitNumber(code));
        return;
    }
    logLine(L"could not write %ls (code %d)", path.c_str(), exitNumber(code));
    if (removed) {
        logLine(L"removed %ls: it told of an earlier run", path.c_str());
    } else if (entryExists(path)) {
        logLine(L"%ls still tells of an earlier run: another program holds it open", path.c_str());
    }
}

} // namespace gls
