// Path text rules on Windows path syntax.
#include "path_rules.h"

#include "ascii_case.h"

#include <vector>

namespace gls {

namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool isAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool startsWithDrive(const std::wstring& p) { return p.size() >= 2 && isAsciiLetter(p[0]) && p[1] == L':'; }

// Skips one component and then the separators after it.
std::size_t skipComponent(const std::wstring& p, std::size_t at)
{
    while (at < p.size() && !isSeparator(p[at])) ++at;
    while (at < p.size() && isSeparator(p[at])) ++at;
    return at;
}

std::size_t skipSeparators(const std::wstring& p, std::size_t at)
{
    while (at < p.size() && isSeparator(p[at])) ++at;
    return at;
}

void trimTrailingSeparators(std::wstring& p)
{
    while (!p.empty() && isSeparator(p.back())) p.pop_back();
}

} // namespace

std::size_t rootLength(const std::wstring& p)
{
    if (startsWithDrive(p)) return skipSeparators(p, 2);
    if (p.size() < 3 || !isSeparator(p[0]) || !isSeparator(p[1]) || isSeparator(p[2])) return 0;
    // "\\?\" and "\\.\": a device path, whose root is the drive or device after the prefix.
    if ((p[2] == L'?' || p[2] == L'.') && p.size() >= 4 && isSeparator(p[3])) {
        std::size_t at = 4;
        if (p.size() >= at + 2 && isAsciiLetter(p[at]) && p[at + 1] == L':') return skipSeparators(p, at + 2);
        if (p.compare(at, 3, L"UNC") == 0 && p.size() > at + 3 && isSeparator(p[at + 3])) {
            at = skipSeparators(p, at + 3);
            return skipComponent(p, skipComponent(p, at));
        }
        return skipComponent(p, at);
    }
    // "\\server\share": both the server and the share belong to the root.
    return skipComponent(p, skipComponent(p, 2));
}

bool hasAbsoluteForm(const std::wstring& p)
{
    if (startsWithDrive(p)) return p.size() >= 3 && isSeparator(p[2]);
    return p.size() >= 3 && isSeparator(p[0]) && isSeparator(p[1]) && !isSeparator(p[2]);
}

bool isFolderBelowRoot(const std::wstring& p) { return hasAbsoluteForm(p) && rootLength(p) < p.size(); }

std::wstring parentPath(const std::wstring& path)
{
    std::size_t root = rootLength(path);
    // A rooted path without a drive ("\x") keeps its single separator.
    if (root == 0 && !path.empty() && isSeparator(path[0])) root = 1;
    std::size_t end = path.size();
    while (end > root && isSeparator(path[end - 1])) --end;
    while (end > root && !isSeparator(path[end - 1])) --end;
    while (end > root && isSeparator(path[end - 1])) --end;
    return path.substr(0, end);
}

std::wstring lexicallyNormal(const std::wstring& path)
{
    std::size_t rootEnd = rootLength(path);
    std::wstring root = path.substr(0, rootEnd);
    for (wchar_t& c : root) {
        if (c == L'/') c = L'\\';
    }
    // A drive without a separator ("C:x") keeps its relative form; a rooted path without a drive
    // ("\x") keeps its single separator.
    bool rooted = rootEnd > 0 && isSeparator(path[rootEnd - 1]);
    if (rootEnd == 0 && !path.empty() && isSeparator(path[0])) {
        rooted = true;
        root = L"\\";
        rootEnd = skipSeparators(path, 0);
    }
    std::wstring collapsedRoot;
    for (wchar_t c : root) {
        if (c == L'\\' && !collapsedRoot.empty() && collapsedRoot.back() == L'\\' && collapsedRoot.size() > 2) continue;
        collapsedRoot += c;
    }

    std::vector<std::wstring> parts;
    std::size_t at = rootEnd;
    while (at < path.size()) {
        std::size_t end = at;
        while (end < path.size() && !isSeparator(path[end])) ++end;
        std::wstring part = path.substr(at, end - at);
        if (part == L"..") {
            if (!parts.empty() && parts.back() != L"..") {
                parts.pop_back();
            } else if (!rooted) {
                parts.push_back(part);
            }
        } else if (!part.empty() && part != L".") {
            parts.push_back(part);
        }
        at = skipSeparators(path, end);
    }
    std::wstring out = collapsedRoot;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += L'\\';
        out += parts[i];
    }
    if (out.empty() && !path.empty()) out = L".";
    return out;
}

bool isInsideFolder(const std::wstring& path, const std::wstring& folder)
{
    if (folder.empty()) return false;
    std::wstring p = asciiLower(lexicallyNormal(path));
    std::wstring f = asciiLower(lexicallyNormal(folder));
    trimTrailingSeparators(p);
    trimTrailingSeparators(f);
    if (p == f) return true;
    return p.size() > f.size() && p.compare(0, f.size(), f) == 0 && isSeparator(p[f.size()]);
}

std::wstring lastComponent(const std::wstring& path)
{
    std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool samePath(const std::wstring& a, const std::wstring& b)
{
    return asciiLower(lexicallyNormal(a)) == asciiLower(lexicallyNormal(b));
}

bool isStrictlyInside(const std::wstring& path, const std::wstring& folder)
{
    return isInsideFolder(path, folder) && !isInsideFolder(folder, path);
}

} // namespace gls
