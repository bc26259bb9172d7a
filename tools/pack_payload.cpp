// Build tool: packs a folder into the payload archive that the setup carries as a resource.
// Usage: gls_pack_payload <folder> <archive>
#include "payload_writer.h"

#include "../core/payload_path.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool readFile(const fs::path& path, std::vector<unsigned char>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: gls_pack_payload <folder> <archive>\n");
        return 2;
    }
    fs::path folder = argv[1];
    fs::path output = argv[2];
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        std::fprintf(stderr, "gls_pack_payload: %s is not a folder\n", folder.c_str());
        return 1;
    }

    std::vector<gls::PackFile> files;
    bool ok = true;
    fs::recursive_directory_iterator it(folder, fs::directory_options::none, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        std::string name = it->path().lexically_relative(folder).generic_string();
        std::string problem = gls::packNameProblem(name);
        if (!problem.empty()) {
            std::fprintf(stderr, "gls_pack_payload: cannot pack %s: %s\n", it->path().c_str(), problem.c_str());
            ok = false;
            continue;
        }
        gls::PackFile file{name, {}};
        if (!readFile(it->path(), file.bytes)) {
            std::fprintf(stderr, "gls_pack_payload: cannot read %s\n", it->path().c_str());
            ok = false;
            continue;
        }
        files.push_back(std::move(file));
    }
    if (ec) {
        std::fprintf(stderr, "gls_pack_payload: cannot list %s: %s\n", folder.c_str(), ec.message().c_str());
        return 1;
    }
    if (!ok) return 1;
    std::vector<std::string> names;
    for (const gls::PackFile& file : files) names.push_back(file.name);
    if (auto clash = gls::collidingPayloadNames(names)) {
        std::fprintf(stderr, "gls_pack_payload: cannot pack %s beside %s: Windows takes the two for one file or folder\n",
                     (folder / clash->first).c_str(), (folder / clash->second).c_str());
        return 1;
    }

    std::vector<unsigned char> archive = gls::buildPayloadArchive(std::move(files));
    fs::path partial = output;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
        if (!out) {
            std::fprintf(stderr, "gls_pack_payload: cannot write %s\n", partial.c_str());
            return 1;
        }
    }
    fs::rename(partial, output, ec);
    if (ec) {
        std::fprintf(stderr, "gls_pack_payload: cannot write %s: %s\n", output.c_str(), ec.message().c_str());
        return 1;
    }
    std::printf("packed %zu bytes into %s\n", archive.size(), output.c_str());
    return 0;
}
