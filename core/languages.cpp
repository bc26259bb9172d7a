// Matching language tags to the languages of the text tables.
#include "languages.h"

#include "ascii_case.h"
#include "texts.h"

namespace gls {

namespace {

std::vector<std::wstring> subtagsOf(const std::wstring& tag)
{
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= tag.size(); ++at) {
        if (at == tag.size() || tag[at] == L'-' || tag[at] == L'_') {
            parts.push_back(asciiLower(tag.substr(start, at - start)));
            start = at + 1;
        }
    }
    return parts;
}

} // namespace

std::vector<std::string> spokenLanguages() { return textLanguages(); }

std::optional<std::string> spokenLanguageFor(const std::wstring& tag)
{
    std::vector<std::wstring> parts = subtagsOf(tag);
    if (parts.empty() || parts[0].empty()) return std::nullopt;
    std::wstring lowered = asciiLower(tag);
    if (lowered == L"qps-ploc") return std::string(kPseudoLanguage);
    if (parts[0] == L"zh") {
        // The script decides; without one, the region: Taiwan, Hong Kong and Macao write the
        // traditional characters, which the setup does not speak.
        for (std::size_t i = 1; i < parts.size(); ++i) {
            if (parts[i] == L"hans") return std::string("zh-Hans");
            if (parts[i] == L"hant" || parts[i] == L"tw" || parts[i] == L"hk" || parts[i] == L"mo") return std::nullopt;
        }
    }
    for (const std::string& spoken : spokenLanguages()) {
        std::wstring spokenWide(spoken.begin(), spoken.end());
        if (subtagsOf(spokenWide)[0] == parts[0]) return spoken;
    }
    return std::nullopt;
}

const wchar_t* textLocaleOf(const std::string& tag)
{
    static constexpr struct {
        const char* tag;
        const wchar_t* locale;
    } kLocales[] = {{"de", L"de-DE"}, {"fr", L"fr-FR"}, {"es", L"es-ES"}, {"ja", L"ja-JP"}, {"zh-Hans", L"zh-CN"}};
    for (const auto& l : kLocales) {
        if (tag == l.tag) return l.locale;
    }
    return L"en-US";
}

std::string languageForUser(const std::vector<std::wstring>& preferred)
{
    for (const std::wstring& tag : preferred) {
        std::optional<std::string> spoken = spokenLanguageFor(tag);
        if (spoken && *spoken != kPseudoLanguage) return *spoken;
    }
    return "en";
}

} // namespace gls
