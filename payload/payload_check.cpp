// Whether the setup's own payload is fit to install from.
#include "payload_check.h"

#include "core/name_collisions.h"
#include "core/product.h"
#include "payload_name.h"
#include "platform/file_name_order.h"
#include "platform/text.h"

#include <cwchar>
#include <vector>

namespace gls {

namespace {

// A first component that the file system takes for one of the setup's work names, whatever the
// letters' case: the reader of the core compares ASCII letters only.
bool isWorkName(const std::wstring& path)
{
    std::wstring first = path.substr(0, path.find(L'/'));
    std::size_t length = std::wcslen(kWorkPrefix);
    return first.size() >= length && sameFileName(first.substr(0, length), kWorkPrefix);
}

} // namespace

Checked<Payload> checkPayload(Payload payload)
{
    if (payload.entries.empty()) return refused<Payload>(L"the payload holds no files");
    std::vector<std::wstring> paths;
    for (const PayloadEntry& e : payload.entries) {
        paths.push_back(pathFromPayloadName(e.name));
        if (paths.back().empty()) {
            return refused<Payload>(fromUtf8("a path in the payload is not valid UTF-8: " + e.name));
        }
        if (isWorkName(paths.back())) {
            return refused<Payload>(fromUtf8("a path in the payload is not allowed: " + e.name));
        }
    }
    // Letter case as the file system has it, every letter; the uninstaller goes beside the files.
    paths.push_back(kUninstallerExe);
    if (auto clash = collidingNames(paths, FileNameLess{})) {
        return refused<Payload>(L"two paths in the payload collide: " + clash->first + L" and " + clash->second);
    }
    return passed(std::move(payload));
}

} // namespace gls
