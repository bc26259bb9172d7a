// The payload's path rule, on bytes, free of the platform so it builds natively for fuzzing.
#include "payload_path.h"

#include "name_collisions.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace gls {

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalsIgnoringCase(const std::string& name, size_t begin, size_t length, const char* word)
{
    if (std::strlen(word) != length) return false;
    for (size_t i = 0; i < length; ++i) {
        if (upper(name[begin + i]) != upper(word[i])) return false;
    }
    return true;
}

bool lessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(upper(x)) < static_cast<unsigned char>(upper(y));
    });
}

// The name's length as a path holds it: one UTF-16 unit per character, two for a character
// beyond U+FFFF, which takes four bytes in UTF-8.
size_t utf16Length(const std::string& name)
{
    size_t units = 0;
    for (char c : name) {
        unsigned char byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) ++units;
        if (byte >= 0xF0) ++units;
    }
    return units;
}

// Windows opens a device, not a file, for a component whose part before the first dot, blanks
// at its end ignored, is a reserved device name: "nul.txt" and "live/Aux.py" write nowhere, and
// "COM1" opens a port. Superscript digits count as digits here.
bool isDeviceName(const std::string& name, size_t begin, size_t end)
{
    size_t stem = begin;
    while (stem < end && name[stem] != '.') ++stem;
    while (stem > begin && name[stem - 1] == ' ') --stem;
    size_t length = stem - begin;
    for (const char* word : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (equalsIgnoringCase(name, begin, length, word)) return true;
    }
    if (length < 4 || !(equalsIgnoringCase(name, begin, 3, "COM") || equalsIgnoringCase(name, begin, 3, "LPT"))) {
        return false;
    }
    if (length == 4) return name[begin + 3] >= '0' && name[begin + 3] <= '9';
    // U+00B9, U+00B2 and U+00B3 in UTF-8.
    return length == 5 && name[begin + 3] == '\xC2' &&
           (name[begin + 4] == '\xB9' || name[begin + 4] == '\xB2' || name[begin + 4] == '\xB3');
}

bool isAllowedComponent(const std::string& name, size_t begin, size_t end)
{
    size_t length = end - begin;
    if (length == 0) return false;
    if (length == 1 && name[begin] == '.') return false;
    if (length == 2 && name[begin] == '.' && name[begin + 1] == '.') return false;
    char last = name[end - 1];
    if (last == '.' || last == ' ') return false;
    for (size_t i = begin; i < end; ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x20) return false;
        if (std::strchr("<>:\"\\|?*", c) != nullptr && c != 0) return false;
    }
    return !isDeviceName(name, begin, end);
}

} // namespace

bool isAllowedPayloadPath(const std::string& name)
{
    if (name.empty() || name.size() > 400) return false;
    if (name.front() == '/' || name.back() == '/') return false;
    size_t begin = 0;
    for (;;) {
        size_t slash = name.find('/', begin);
        size_t end = slash == std::string::npos ? name.size() : slash;
        if (!isAllowedComponent(name, begin, end)) return false;
        if (slash == std::string::npos) return true;
        begin = slash + 1;
    }
}

std::string installedNameProblem(const std::string& name)
{
    size_t first = std::min(name.find('/'), name.size());
    if (equalsIgnoringCase(name, 0, first, kUninstallerPayloadName)) {
        return std::string("the setup writes its own ") + kUninstallerPayloadName + " there";
    }
    size_t prefix = std::strlen(kWorkPrefixBytes);
    if (first >= prefix && equalsIgnoringCase(name, 0, prefix, kWorkPrefixBytes)) {
        return std::string("names beginning with ") + kWorkPrefixBytes + " are the setup's work, which it deletes";
    }
    if (utf16Length(name) > kMaxInstalledNameLength) {
        return "it is longer than " + std::to_string(kMaxInstalledNameLength) +
               " characters, too long to write below the longest install folder during an update";
    }
    size_t lastSlash = name.rfind('/');
    if (lastSlash != std::string::npos && utf16Length(name.substr(0, lastSlash)) > kMaxInstalledFolderLength) {
        return "its folders are longer than " + std::to_string(kMaxInstalledFolderLength) +
               " characters, too long to make below the longest install folder during an update";
    }
    return {};
}

std::optional<std::pair<std::string, std::string>> collidingPayloadNames(const std::vector<std::string>& names)
{
    return collidingNames(names, lessIgnoringCase);
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(const std::string& text)
{
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= text.size()) return false;
        for (size_t k = 1; k <= extra; ++k) {
            unsigned char t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        i += extra + 1;
    }
    return true;
}

} // namespace gls
