// The switch rules of the command line, free of the platform so they build natively too.
#include "args.h"

#include "ascii_case.h"

#include <cstdlib>
#include <cwchar>
#include <cwctype>

namespace gls {

namespace {

// Letter case is ignored for ASCII letters only, the way the switches are spelt.
bool equalsNoCase(const std::wstring& text, const wchar_t* word)
{
    size_t n = std::wcslen(word);
    if (text.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
        if (asciiLower(text[i]) != asciiLower(word[i])) return false;
    }
    return true;
}

bool startsWithNoCase(const std::wstring& text, const wchar_t* prefix)
{
    size_t n = std::wcslen(prefix);
    if (text.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        if (asciiLower(text[i]) != asciiLower(prefix[i])) return false;
    }
    return true;
}

bool allDigits(const std::wstring& text)
{
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return false;
    }
    return true;
}

// "%ld,%ld": two decimal integers with a comma between them; blanks before a number are
// accepted and anything after the second number is ignored.
bool readPoint(const std::wstring& text, std::int32_t& x, std::int32_t& y)
{
    long a = 0;
    long b = 0;
    if (std::swscanf(text.c_str(), L"%ld,%ld", &a, &b) != 2) return false;
    x = static_cast<std::int32_t>(a);
    y = static_cast<std::int32_t>(b);
    return true;
}

} // namespace

void takeInstallDir(std::wstring& commandLine, Args& args)
{
    static const wchar_t* const patterns[] = {L" /D=", L" \"/D=", L" /d=", L" \"/d="};
    for (const wchar_t* pattern : patterns) {
        size_t at = commandLine.find(pattern);
        if (at == std::wstring::npos) continue;
        std::wstring dir = commandLine.substr(at + std::wcslen(pattern));
        while (!dir.empty() && (dir.back() == L' ' || dir.back() == L'"')) dir.pop_back();
        args.installDir = dir;
        args.installDirGiven = true;
        commandLine.resize(at);
        return;
    }
}

void applySwitches(const std::vector<std::wstring>& elements, Args& args)
{
    for (size_t i = 1; i < elements.size(); ++i) {
        const std::wstring& e = elements[i];
        bool hasNext = i + 1 < elements.size();
        if (equalsNoCase(e, L"/S")) {
            args.silent = true;
        } else if (equalsNoCase(e, L"/uninstall")) {
            args.uninstall = true;
        } else if (equalsNoCase(e, L"/RemoveSettings")) {
            args.removeSettings = true;
        } else if (equalsNoCase(e, L"/start")) {
            args.start = true;
        } else if (e.size() > 3 && startsWithNoCase(e, L"/P=") && allDigits(e.substr(3))) {
            // Read as an unsigned 64-bit number; only the low 32 bits are kept.
            unsigned long long pid = std::wcstoull(e.c_str() + 3, nullptr, 10);
            args.waitPid = static_cast<std::int32_t>(static_cast<std::uint32_t>(pid));
        } else if (e.size() >= 6 && startsWithNoCase(e, L"/from=")) {
            args.fromGiven = true;
            args.from = e.substr(6);
        } else if (startsWithNoCase(e, L"/LANG=")) {
            args.languageGiven = true;
            args.language = e.substr(6);
        } else if (e.size() >= 8 && startsWithNoCase(e, L"/parent=")) {
            args.parentHandle = std::wcstoull(e.c_str() + 8, nullptr, 10);
        } else if (e.size() > 8 && startsWithNoCase(e, L"/result=") && allDigits(e.substr(8))) {
            args.resultHandle = std::wcstoull(e.c_str() + 8, nullptr, 10);
        } else if (e == L"--ui-snapshot" && hasNext) {
            args.uiSnapshot = true;
            args.snapshotDir = elements[++i];
        } else if (e == L"--ui-at" && hasNext && readPoint(elements[i + 1], args.uiAtX, args.uiAtY)) {
            args.uiAt = true;
            ++i;
        } else {
            args.unknownSwitch = e;
        }
    }
}

} // namespace gls
