// The install folder rules, in order; the first that fails gives the user's sentence.
#include "install_folder.h"

#include "core/folder_rules.h"
#include "core/path_rules.h"
#include "platform/env.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

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

    std::error_code ec;
    std::filesystem::file_status status = std::filesystem::status(std::filesystem::path(full.value), ec);
    if (!ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status)) {
        return refused<std::wstring>(L"There is a file of that name there. Pick another folder.");
    }
    if (env.testMode && !isInsideFolder(full.value, env.testRoot)) {
        return refused<std::wstring>(L"(test) The folder is outside the test folder.");
    }
    return full;
}

} // namespace gls
