// The install folder rules, in order; the first that fails gives the user's sentence.
#include "install_folder.h"

#include "core/path_rules.h"
#include "platform/env.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

namespace gls {

namespace {

constexpr DWORD kFullPathBuffer = 1024;
constexpr std::size_t kMaxFolderLength = 180;

std::wstring trimSpacesAndQuotes(const std::wstring& text)
{
    std::size_t begin = text.find_first_not_of(L" \"");
    if (begin == std::wstring::npos) return {};
    std::size_t end = text.find_last_not_of(L" \"");
    return text.substr(begin, end - begin + 1);
}

bool hasForbiddenCharacter(const std::wstring& path)
{
    // The drive letter and its colon are not looked at; a colon further on passes.
    for (std::size_t i = 2; i < path.size(); ++i) {
        wchar_t c = path[i];
        if (c < 0x20 || c == L'<' || c == L'>' || c == L'"' || c == L'|' || c == L'?' || c == L'*') return true;
    }
    return false;
}

std::wstring refuse(std::wstring& message, const wchar_t* text)
{
    message = text;
    return {};
}

} // namespace

std::wstring checkInstallFolder(const Env& env, const std::wstring& text, std::wstring& message)
{
    std::wstring folder = trimSpacesAndQuotes(text);
    if (folder.empty()) return refuse(message, L"Pick a folder to install into.");
    if (!hasAbsoluteForm(folder)) return refuse(message, L"Pick a whole folder path, starting with a drive letter.");

    wchar_t resolved[kFullPathBuffer];
    DWORD length = ::GetFullPathNameW(folder.c_str(), kFullPathBuffer, resolved, nullptr);
    if (length == 0 || length >= kFullPathBuffer) return refuse(message, L"That folder's path is too long.");
    std::wstring path(resolved, length);
    while (path.size() >= 4 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();

    if (rootLength(path) >= path.size()) return refuse(message, L"Pick a folder, not a whole drive.");
    if (path.size() > kMaxFolderLength) return refuse(message, L"That folder's path is too long. Pick a shorter one.");
    if (hasForbiddenCharacter(path)) {
        return refuse(message, L"A folder's name cannot have any of these in it: < > \" | ? *");
    }

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
