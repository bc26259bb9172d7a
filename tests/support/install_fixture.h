// What the install tests share: the test environment, payloads built in memory
// or read from the built setup, and a recorder for progress reports.
#pragma once

#include "payload/payload.h"
#include "install/install_result.h"
#include "platform/env.h"
#include "platform/unique_handle.h"
#include "registry_scope.h"
#include "test_env.h"
#include "test_support.h"

#include <string>
#include <utility>
#include <vector>

namespace gls::test {

struct ProgressLog {
    std::vector<std::pair<float, std::wstring>> reports;
    ProgressCallback callback()
    {
        return [this](float f, Txt step) { reports.emplace_back(f, sayInEnglish(step)); };
    }
};

// An archive built in memory and the payload that points into it.
struct MemoryPayload {
    std::vector<unsigned char> archive;
    Payload payload;
};
MemoryPayload makePayload(const std::vector<std::pair<std::string, std::string>>& files);
// Just the archive of those files, in the writer's layout.
std::vector<unsigned char> archiveOf(const std::vector<std::pair<std::string, std::string>>& files);

// The payload of the built setup, read from the file (kept loaded while this lives).
using BuiltPayload = LoadedPayload;
bool loadBuiltPayload(BuiltPayload& out);

// A copy of the built setup whose payload is replaced by this archive.
bool writeSetupWithPayload(const std::wstring& path, const std::vector<unsigned char>& archive);

// Every entry below a folder by relative path, sorted; links to folders are walked into.
std::vector<std::wstring> treePaths(const std::wstring& folder);

// Every file below a folder with its bytes, by relative path; "" for folders.
std::vector<std::pair<std::wstring, std::string>> snapshotTree(const std::wstring& folder);

// The setup's work entries (".glsetup-" names) anywhere below a folder, by relative path.
std::vector<std::wstring> setupWorkEntries(const std::wstring& folder);

} // namespace gls::test
