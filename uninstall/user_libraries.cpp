// Finds Live's User Library folders.
#include "user_libraries.h"

#include "core/path_join.h"
#include "core/path_rules.h"
#include "platform/text.h"
#include "platform/tree_walk.h"
#include "platform/unique_handle.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace gls {

namespace {

// The whole file, opened with full sharing so that a running Live does not block it.
std::string readShared(const std::wstring& path)
{
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    if (!file) return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
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
        std::string value = userLibraryProjectPath(readShared(cfg));
        if (value.empty()) continue;
        candidates.push_back({lastWriteTime(cfg), joinPath(fromUtf8(value), L"User Library")});
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
