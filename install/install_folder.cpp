// The install folder rules, in order; the first that fails gives the user's sentence.
#include "install_folder.h"

#include "core/folder_rules.h"
#include "core/path_rules.h"
#include "platform/env.h"
#include "platform/file_identity.h"
#include "platform/file_status.h"

#include <windows.h>

namespace gls {

namespace {

constexpr DWORD kFullPathBuffer = 1024;

} // namespace

Checked<std::wstring> checkInstallFolder(const Env& env, const std::wstring& text)
{
    Checked<std::wstring> typed = checkTypedFolder(text);
    if (!typed.ok()) return typed;

    wchar_t resolved[kFullPathBuffer];
    DWORD length = ::GetFullPathNameW(typed.value.c_str(), kFullPathBuffer, resolved, nullptr);
    if (length == 0 || length >= kFullPathBuffer) return refused<std::wstring>(L"That folder's path is too long.");
    Checked<std::wstring> full = checkFullFolder(std::wstring(resolved, length));
    if (!full.ok()) return full;

    bool there = entryExists(full.value);
    if (there && !isFolder(full.value)) {
        return refused<std::wstring>(L"There is a file of that name there. Pick another folder.");
    }
    if (env.testMode && !isInsideFolder(full.value, env.testRoot)) {
        return refused<std::wstring>(L"(test) The folder is outside the test folder.");
    }
    full = checkNotUserFolder(std::move(full.value), env.userFolders);
    if (!full.ok()) return full;
    // Another spelling of one of them: a link to it, a short name, letters beyond ASCII in another case.
    for (const std::wstring& own : env.userFolders) {
        if (there && !own.empty() && sameFolderOnDisk(full.value, own)) {
            return refused<std::wstring>(kUserFolderProblem);
        }
    }
    return full;
}

} // namespace gls
