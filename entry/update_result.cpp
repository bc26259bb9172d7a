// Writes the update result file for in-app updaters.
#include "update_result.h"

#include "core/path_join.h"
#include "core/update_result_text.h"
#include "platform/create_folders.h"
#include "platform/env.h"
#include "platform/log.h"
#include "platform/text.h"
#include "platform/unique_handle.h"

#include <windows.h>

namespace gls {

void writeUpdateResult(const Env& env, ExitCode code, const std::wstring& reason)
{
    if (env.settingsDir.empty()) return;
    std::wstring folder = joinPath(env.settingsDir, L"update");
    createFolders(folder);
    std::wstring path = joinPath(folder, L"update-result.txt");

    std::string bytes = updateResultText(exitNumber(code), toUtf8(reason));
    bool ok = false;
    {
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        ok = file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
             written == bytes.size();
        if (file && !::CloseHandle(file.release())) ok = false;
    }
    if (ok) {
        logLine(L"wrote %ls (code %d)", path.c_str(), exitNumber(code));
    } else {
        logLine(L"could not write %ls (code %d)", path.c_str(), exitNumber(code));
    }
}

} // namespace gls
