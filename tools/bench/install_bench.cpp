// Benchmark of the install job: a fresh install and an update over it, on the demo payload and on
// a generated payload of about 200 MB in 300 files, beside the drive's plain write-then-read-back
// rate for the same bytes measured in the same run; then the memory a real silent install of a
// setup carrying that payload takes at its peak. First the setup's size: its own code (the file
// less its payload) beside the payload; with --size that line alone, for the demo.
// Usage: gls_install_bench <setup.exe> <scratch folder> | gls_install_bench <setup.exe> --size
#include "core/resource_ids.h"
#include "install/install_job.h"
#include "payload/payload.h"
#include "platform/env.h"
#include "platform/file_io.h"
#include "platform/file_status.h"
#include "tools/payload_writer.h"

#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

double payloadBytes(const gls::Payload& p)
{
    double total = 0;
    for (const auto& e : p.entries) total += static_cast<double>(e.size);
    return total;
}

// Writes every file and reads it back, the plain way: the rate the drive gives these bytes.
double rawRate(const gls::Payload& p, const std::wstring& folder, bool& ok)
{
    auto start = Clock::now();
    int n = 0;
    ok = true;
    for (const auto& e : p.entries) {
        std::wstring path = folder + L"\\raw-" + std::to_wstring(n++);
        ok = gls::writeWholeFile(path, e.data, e.size) && gls::readBack(path, e.data, e.size) == gls::ReadBack::Same && ok;
    }
    double took = seconds(start);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return payloadBytes(p) / 1e6 / took;
}

void measure(const char* label, const gls::Payload& payload, const std::wstring& scratch)
{
    gls::Env env;
    env.testMode = true;
    env.testRoot = scratch;
    env.uninstallKey = L"Software\\GlimmerlineSetupTest\\Bench\\Glimmerline";
    env.startMenuPrograms = scratch + L"\\StartMenu\\Programs";
    env.desktopDir = scratch + L"\\Desktop";
    std::wstring dir = scratch + L"\\Glimmerline";
    auto quiet = [](float, gls::Txt) {};
    double mb = payloadBytes(payload) / 1e6;

    auto start = Clock::now();
    bool freshOk = gls::installApp(env, payload, dir, false, quiet).ok;
    double fresh = seconds(start);
    start = Clock::now();
    bool updateOk = gls::installApp(env, payload, dir, false, quiet).ok;
    double update = seconds(start);
    bool rawOk = false;
    double raw = rawRate(payload, scratch + L"\\raw", rawOk);
    std::printf("%-20s %9.3f MB in %3zu files | fresh %7.1f MB/s%s | update %7.1f MB/s%s | plain write+read %7.1f MB/s%s\n",
                label, mb, payload.entries.size(), mb / fresh, freshOk ? "" : " (FAILED)", mb / update,
                updateOk ? "" : " (FAILED)", raw, rawOk ? "" : " (FAILED)");
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\GlimmerlineSetupTest\\Bench");
}

// The setup's own code beside its payload: the whole file less the payload resource.
void printSetupSize(const wchar_t* setup, const gls::LoadedPayload& loaded)
{
    std::uint64_t fileBytes = 0;
    gls::fileSize(setup, fileBytes);
    HRSRC resource = ::FindResourceW(loaded.module.get(), gls::kPayloadResourceName,
                                     MAKEINTRESOURCEW(gls::kDataResourceType));
    unsigned long long payloadBytes = resource ? ::SizeofResource(loaded.module.get(), resource) : 0;
    unsigned long long codeBytes = fileBytes - payloadBytes;
    std::printf("%-20s %9.3f MB own code (%llu bytes) | payload %9.3f MB | whole file %9.3f MB\n", "setup size",
                static_cast<double>(codeBytes) / 1e6, codeBytes, static_cast<double>(payloadBytes) / 1e6,
                static_cast<double>(fileBytes) / 1e6);
}

// A copy of the setup carrying another payload, installed silently in test mode below the scratch
// folder, its private memory sampled while it runs: the peak it reached, in MiB, or -1.
double peakInstallMemory(const wchar_t* setup, const std::vector<unsigned char>& archive, const std::wstring& scratch)
{
    std::wstring copy = scratch + L"\\BigSetup.exe";
    std::wstring root = scratch + L"\\big-install";
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    if (!::CopyFileW(setup, copy.c_str(), FALSE)) return -1;
    HANDLE update = ::BeginUpdateResourceW(copy.c_str(), FALSE);
    if (!update) return -1;
    bool updated = ::UpdateResourceW(update, MAKEINTRESOURCEW(gls::kDataResourceType), gls::kPayloadResourceName,
                                     MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), const_cast<unsigned char*>(archive.data()),
                                     static_cast<DWORD>(archive.size()));
    if (!::EndUpdateResourceW(update, !updated) || !updated) return -1;

    ::SetEnvironmentVariableW(L"GLIMMERLINE_SETUP_TEST", root.c_str());
    std::wstring commandLine = L"\"" + copy + L"\" /S";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    bool started = ::CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    ::SetEnvironmentVariableW(L"GLIMMERLINE_SETUP_TEST", nullptr);
    if (!started) return -1;
    ::CloseHandle(pi.hThread);
    SIZE_T peak = 0;
    // Sampled, as the counters of a process that has ended cannot be read everywhere.
    do {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        if (::GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters)) {
            peak = std::max({peak, counters.PeakPagefileUsage, counters.PagefileUsage});
        }
    } while (::WaitForSingleObject(pi.hProcess, 5) == WAIT_TIMEOUT);
    DWORD code = 1;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hProcess);
    std::filesystem::remove_all(root, ec);
    ::DeleteFileW(copy.c_str());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\GlimmerlineSetupTest\\Uninstall");
    return code == 0 ? static_cast<double>(peak) / (1024.0 * 1024.0) : -1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: gls_install_bench <setup.exe> <scratch folder> | <setup.exe> --size\n");
        return 2;
    }
    std::wstring scratch = argv[2];
    gls::Checked<gls::LoadedPayload> demo = gls::loadPayloadOf(argv[1]);
    if (!demo.ok()) {
        std::fprintf(stderr, "no payload in that setup\n");
        return 1;
    }
    printSetupSize(argv[1], demo.value);
    if (scratch == L"--size") return 0;
    std::error_code ec;
    std::filesystem::create_directories(scratch, ec);
    measure("demo payload", demo.value.payload, scratch);

    // About 200 MB in 300 files of varied sizes, in a few folders; incompressible bytes.
    std::mt19937_64 random(42);
    std::vector<gls::PackFile> files;
    for (int i = 0; i < 300; ++i) {
        size_t size = 200000 + static_cast<size_t>(random() % 1133334);
        gls::PackFile f{"data/set" + std::to_string(i % 7) + "/file" + std::to_string(i) + ".bin",
                        std::vector<unsigned char>(size)};
        for (auto& b : f.bytes) b = static_cast<unsigned char>(random());
        files.push_back(std::move(f));
    }
    std::vector<unsigned char> archive = gls::buildPayloadArchive(std::move(files));
    gls::Payload big = gls::parsePayload(archive.data(), archive.size(), true).value;
    measure("generated payload", big, scratch);
    double peak = peakInstallMemory(argv[1], archive, scratch);
    if (peak < 0) {
        std::printf("%-20s could not be measured\n", "peak memory");
    } else {
        std::printf("%-20s %9.1f MiB private at the peak of a silent install of a setup carrying %.0f MB\n", "peak memory",
                    peak, static_cast<double>(archive.size()) / 1e6);
    }
    return 0;
}
