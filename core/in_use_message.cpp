// The sentences for files that other programs hold open.
#include "in_use_message.h"

#include "live_layout.h"
#include "path_rules.h"

#include <algorithm>

namespace gls {

std::vector<std::wstring> holderNames(const std::vector<std::wstring>& listed)
{
    std::vector<std::wstring> names;
    for (const std::wstring& name : listed) {
        if (names.size() == kMostHolderNames) break;
        // A name is a program's own text, shown to the user and logged: a line end in it would
        // forge a line of the log.
        if (name.empty() || holdsControlCharacter(name)) continue;
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    return names;
}

Message fileInUseMessage(const std::vector<std::wstring>& holders, const std::wstring& fileName)
{
    if (holders.empty()) return Message(Txt::ErrorFileInUse, {{L"file", fileName}});
    return Message(holders.size() == 1 ? Txt::ErrorFileInUseBy : Txt::ErrorFileInUseByMany,
                   {{L"programs", listInProse(holders)}, {L"file", fileName}});
}

Message filesLeftInUseMessage(const std::vector<std::wstring>& holders, const std::vector<std::wstring>& filesLeft,
                              const std::wstring& folder)
{
    if (holders.empty() || filesLeft.empty()) return Message(Txt::ErrorFilesInUse, {{L"folder", folder}});
    bool one = holders.size() == 1;
    std::size_t others = filesLeft.size() - 1;
    Txt key = others == 0   ? (one ? Txt::ErrorFilesInUseBy : Txt::ErrorFilesInUseByMany)
              : others == 1 ? (one ? Txt::ErrorFilesAndOneMoreInUseBy : Txt::ErrorFilesAndOneMoreInUseByMany)
                            : (one ? Txt::ErrorFilesAndMoreInUseBy : Txt::ErrorFilesAndMoreInUseByMany);
    return Message(key, {{L"programs", listInProse(holders)},
                         {L"file", lastComponent(filesLeft.front())},
                         {L"count", std::to_wstring(others)},
                         {L"folder", folder}});
}

} // namespace gls
