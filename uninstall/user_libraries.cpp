// Finds Live's User Library folders.
#include "user_libraries.h"

#include "core/live_layout.h"
#include "core/path_join.h"
#include "core/path_rules.h"
#include "platform/log.h"
#include "platform/system_error_text.h"
#include "platform/text.h"
#include "platform/tree_walk.h"
#include "platform/unique_handle.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace gls {

namespace {

// A real Library.cfg holds a few kilobytes. Anything larger than this is no configuration of
// Live's, and reading it whole could take more memory than the machine has.
constexpr LONGLONG kMaxConfigBytes = 4 * 1024 * 1024;

// The whole file, opened with full sharing so that a running Live does not block it. False when
// there is no such file, and (logged) when it cannot be read or is too large to be one.
bool readConfig(const std::wstring& path, std::string& bytes)
{
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            logLine(L"skipped %ls: %ls", path.c_str(), systemErrorText(error).c_str());
        }
        return false;
    }
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.get(), &size)) {
        logLine(L"skipped %ls: %ls", path.c_str(), systemErrorText(::GetLastError()).c_str());
        return false;
    }
    bytes.clear();
    char buffer[65536];
    DWORD read = 0;
    // The size is checked again while reading: Live may be writing the file at this moment.
    while (size.QuadPart <= kMaxConfigBytes && static_cast<LONGLONG>(bytes.size()) <= kMaxConfigBytes) {
        if (!::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr)) {
            logLine(L"skipped %ls: %ls", path.c_str(), systemErrorText(::GetLastError()).c_str());
            return false;
        }
        if (read == 0) return true;
        bytes.append(buffer, read);
    }
    logLine(L"skipped %ls: larger than %lld bytes, so no Live configuration", path.c_str(),
            static_cast<long long>(kMaxConfigBytes));
    return false;
}

long long lastWriteTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return LLONG_MIN;
    return (static_cast<long long>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

struct Candidate {
    long long time;
    std::wstring library;
};

} // namespace

std::string userLibraryProjectPath(const std::string& cfg)
{
    size_t library = cfg.find("<UserLibrary>");
    if (library == std::string::npos) return {};
    const std::string marker = "<ProjectPath Value=\"";
    size_t at = cfg.find(marker, library);
    if (at == std::string::npos) return {};
    size_t begin = at + marker.size();
    size_t end = cfg.find('"', begin);
    if (end == std::string::npos) return {};
    return cfg.substr(begin, end - begin);
}

std::vector<std::wstring> findUserLibraries(const std::wstring& abletonDir)
{
    std::vector<Candidate> candidates;
    // A listing that fails part way ends the search with what was found so far.
    for (const TreeEntry& entry : walkTree(abletonDir, false)) {
        std::wstring cfg = joinPath(entry.path, L"Preferences", L"Library.cfg");
        std::string bytes;
        if (!readConfig(cfg, bytes)) continue;
        std::string value = userLibraryProjectPath(bytes);
        if (value.empty()) continue;
        std::wstring folder = fromUtf8(value);
        // A NUL would cut the path short where the system reads it, and the removal would act on
        // whatever file or folder the text names up to there.
        if (holdsControlCharacter(folder)) {
            logLine(L"skipped %ls: its library path holds a control character", cfg.c_str());
            continue;
        }
        candidates.push_back({lastWriteTime(cfg), joinPath(folder, kUserLibraryName)});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.time > b.time; });
    std::vector<std::wstring> libraries;
    for (const Candidate& c : candidates) {
        std::wstring normal = lexicallyNormal(c.library);
        if (std::find(libraries.begin(), libraries.end(), normal) == libraries.end()) libraries.push_back(normal);
    }
    return libraries;
}

} // namespace gls
