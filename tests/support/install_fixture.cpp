// What the install tests share.
#include "install_fixture.h"

#include "core/resource_ids.h"
#include "product_names.h"
#include "tools/payload_writer.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace gls::test {

std::vector<unsigned char> archiveOf(const std::vector<std::pair<std::string, std::string>>& files)
{
    std::vector<PackFile> pack;
    for (const auto& [name, content] : files) pack.push_back({name, {content.begin(), content.end()}});
    return buildPayloadArchive(pack);
}

MemoryPayload makePayload(const std::vector<std::pair<std::string, std::string>>& files)
{
    MemoryPayload m;
    m.archive = archiveOf(files);
    m.payload = parsePayload(m.archive.data(), m.archive.size(), true).value;
    return m;
}

bool loadBuiltPayload(BuiltPayload& out)
{
    Checked<LoadedPayload> loaded = loadPayloadOf(setupExePath());
    out = std::move(loaded.value);
    return loaded.ok();
}

bool writeSetupWithPayload(const std::wstring& path, const std::vector<unsigned char>& archive)
{
    if (!::CopyFileW(setupExePath().c_str(), path.c_str(), FALSE)) return false;
    HANDLE update = ::BeginUpdateResourceW(path.c_str(), FALSE);
    if (!update) return false;
    bool ok = ::UpdateResourceW(update, MAKEINTRESOURCEW(kDataResourceType), kPayloadResourceName,
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                const_cast<unsigned char*>(archive.data()), static_cast<DWORD>(archive.size()));
    return ::EndUpdateResourceW(update, !ok) && ok;
}

std::vector<std::wstring> treePaths(const std::wstring& folder)
{
    std::vector<std::wstring> out;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(fs::path(folder), ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        out.push_back(it->path().lexically_relative(fs::path(folder)).wstring());
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::pair<std::wstring, std::string>> snapshotTree(const std::wstring& folder)
{
    std::vector<std::pair<std::wstring, std::string>> out;
    for (const std::wstring& relative : treePaths(folder)) {
        std::error_code ec;
        fs::path full = fs::path(folder) / relative;
        out.emplace_back(relative, fs::is_directory(full, ec) ? std::string() : readFile(full.wstring()));
    }
    return out;
}

std::vector<std::wstring> setupWorkEntries(const std::wstring& folder)
{
    std::vector<std::wstring> out;
    for (const std::wstring& relative : treePaths(folder)) {
        if (fs::path(relative).filename().wstring().rfind(kWorkPrefix, 0) == 0) out.push_back(relative);
    }
    return out;
}

} // namespace gls::test
