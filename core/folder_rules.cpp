// The rules on an install folder's text, in order; the first that fails gives the user's sentence.
#include "folder_rules.h"

#include "ascii_case.h"
#include "path_rules.h"

namespace gls {

namespace {

std::wstring trimSpacesAndQuotes(const std::wstring& text)
{
    std::size_t begin = text.find_first_not_of(L" \"");
    if (begin == std::wstring::npos) return {};
    std::size_t end = text.find_last_not_of(L" \"");
    return text.substr(begin, end - begin + 1);
}

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool hasForbiddenCharacter(const std::wstring& path)
{
    // The drive letter and its colon are not looked at; a colon further on passes.
    for (std::size_t i = 2; i < path.size(); ++i) {
        wchar_t c = path[i];
        if (c < 0x20 || c == L'<' || c == L'>' || c == L'"' || c == L'|' || c == L'?' || c == L'*') return true;
    }
    return false;
}

} // namespace

FolderCheck checkTypedFolder(const std::wstring& text)
{
    std::wstring folder = trimSpacesAndQuotes(text);
    if (folder.empty()) return refused<std::wstring>(Message(Txt::FolderPickOne));
    if (!hasAbsoluteForm(folder)) {
        return refused<std::wstring>(Message(Txt::FolderNotWholePath));
    }
    return passed<Message>(folder);
}

bool isNetworkPath(const std::wstring& path)
{
    if (path.size() < 3 || !isSeparator(path[0]) || !isSeparator(path[1]) || isSeparator(path[2])) return false;
    bool device = (path[2] == L'?' || path[2] == L'.') && (path.size() == 3 || isSeparator(path[3]));
    if (!device) return true; // "\\server"
    // A device path reaches a share through its "UNC" device; a drive letter or a volume is local.
    return path.size() >= 7 && asciiLower(path.substr(4, 3)) == L"unc" && (path.size() == 7 || isSeparator(path[7]));
}

FolderCheck checkFullFolder(std::wstring path)
{
    while (path.size() >= 4 && isSeparator(path.back())) path.pop_back();
    if (rootLength(path) >= path.size()) return refused<std::wstring>(Message(Txt::FolderWholeDrive));
    if (isNetworkPath(path)) return refused<std::wstring>(Message(Txt::FolderNotOnThisPc));
    if (path.size() > kMaxFolderLength) {
        return refused<std::wstring>(Message(Txt::FolderTooLong));
    }
    if (hasForbiddenCharacter(path)) {
        return refused<std::wstring>(Message(Txt::FolderBadCharacters));
    }
    return passed<Message>(path);
}

FolderCheck checkNotUserFolder(std::wstring folder, const std::vector<std::wstring>& userFolders)
{
    for (const std::wstring& own : userFolders) {
        if (!own.empty() && isInsideFolder(own, folder)) return refused<std::wstring>(Message(Txt::FolderUsersOwn));
    }
    return passed<Message>(std::move(folder));
}

} // namespace gls
