// The sentences for files that other programs hold open.
#include "in_use_message.h"

#include "live_layout.h"
#include "path_rules.h"

#include <algorithm>

namespace gls {

namespace {

// "A has", "A and B have".
std::wstring holdersHave(const std::vector<std::wstring>& holders)
{
    return namesInProse(holders) + (holders.size() == 1 ? L" has " : L" have ");
}

} // namespace

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

std::wstring namesInProse(const std::vector<std::wstring>& names)
{
    std::wstring prose;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) prose += i + 1 == names.size() ? L" and " : L", ";
        prose += names[i];
    }
    return prose;
}

std::wstring fileInUseMessage(const std::vector<std::wstring>& holders, const std::wstring& fileName)
{
    if (holders.empty()) {
        return L"Another program has " + fileName + L" open. Close it, then run Setup again. Nothing was changed.";
    }
    return holdersHave(holders) + fileName + (holders.size() == 1 ? L" open. Close it" : L" open. Close them") +
           L", then run Setup again. Nothing was changed.";
}

std::wstring filesLeftInUseMessage(const std::vector<std::wstring>& holders, const std::vector<std::wstring>& filesLeft,
                                   const std::wstring& folder)
{
    if (holders.empty() || filesLeft.empty()) {
        return L"Some of Glimmerline' files are in use and stay in " + folder +
               L". Delete that folder after a restart.";
    }
    std::wstring what = lastComponent(filesLeft.front());
    std::size_t others = filesLeft.size() - 1;
    if (others == 1) what += L" and 1 other file of Glimmerline";
    if (others > 1) what += L" and " + std::to_wstring(others) + L" other files of Glimmerline";
    return holdersHave(holders) + what + L" open, so " + (others == 0 ? L"it stays" : L"they stay") + L" in " + folder +
           L". Close " + namesInProse(holders) + L", then delete that folder.";
}

} // namespace gls
