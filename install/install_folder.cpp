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

std::wstring refuse(std::wstring& message, const std::wstring& text)
{
    message = text;
    return {};
}

} // namespace

std::wstring checkInstallFolder(const Env& env, const std::wstring& text, std::wstring& message)
{
    Checked<std::wstring> typed = checkTypedFolder(text);
    if (!typed.ok()) return refuse(message, typed.problem);

    wchar_t resolved[kFullPathBuffer];
    DWORD length = ::GetFullPathNameW(typed.value.c_str(), kFullPathBuffer, resolved, nullptr);
    if (length == 0 || length >= kFullPathBuffer) return refuse(message, L"That folder's path is too long.");
    Checked<std::wstring> full = checkFullFolder(std::wstring(resolved, length));
    if (!full.ok()) return refuse(message, full.problem);
    const std::wstring& path = full.value;

    std::error_code ec;
    std::filesystem::file_status status = std::filesystem::status(std::filesystem::path(path), ec);
    if (!ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status)) {
        return refuse(message, L"There is a file of that name there. Pick another folder.");
    }

    if (env.testMode && !isInsideFolder(path, env.testRoot)) {
        return refuse(message, L"(test) The folder is outside the test folder.");
    }
    return path;
}

} // namespace gls
