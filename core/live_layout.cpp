// The layout of Glimmerline's parts in a Live User Library.
#include "live_layout.h"

#include "path_join.h"
#include "path_rules.h"
#include "product.h"

namespace gls {

namespace {

constexpr wchar_t kRemoteScripts[] = L"Remote Scripts";
constexpr wchar_t kDeviceFolder[] = L"Presets\\Audio Effects\\Max Audio Effect";
constexpr wchar_t kDeviceName[] = L"Glimmerline.amxd";
constexpr wchar_t kDeviceScriptName[] = L"glimmerline_feed.js";

bool endsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

std::wstring scriptFolderIn(const std::wstring& userLibrary) { return joinPath(userLibrary, kRemoteScripts, kAppName); }

std::wstring deviceFileIn(const std::wstring& userLibrary, bool deviceScript)
{
    return joinPath(userLibrary, kDeviceFolder, deviceScript ? kDeviceScriptName : kDeviceName);
}

bool holdsControlCharacter(const std::wstring& text)
{
    for (wchar_t c : text) {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return true;
    }
    return false;
}

bool isLiveRemovalPath(const std::wstring& path)
{
    if (holdsControlCharacter(path) || !hasAbsoluteForm(path)) return false;
    const std::wstring library = std::wstring(L"\\") + kUserLibraryName;
    for (const std::wstring& part :
         {scriptFolderIn(library), deviceFileIn(library, false), deviceFileIn(library, true)}) {
        // Something must name the folder the User Library lies in.
        if (path.size() > part.size() && endsWith(path, part)) {
            wchar_t before = path[path.size() - part.size() - 1];
            return before != L'\\' && before != L'/';
        }
    }
    return false;
}

} // namespace gls
