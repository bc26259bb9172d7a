// The text tables and how a text is said.
#include "texts.h"

#include "languages.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace gls {

namespace {

#include "core/text_tables.inc"

static_assert(sizeof(kTextKeys) / sizeof(kTextKeys[0]) == kTextCount);

// UTF-8 from the tables as UTF-16; the tables are made from valid UTF-8 files.
std::wstring wideFromUtf8(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        auto byte = static_cast<unsigned char>(text[i]);
        std::uint32_t cp = byte;
        std::size_t extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
        if (extra > 0) cp = byte & (0x3F >> extra);
        for (std::size_t k = 1; k <= extra && i + k < text.size(); ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        i += extra + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<wchar_t>(cp);
        }
    }
    return out;
}

// Each {name} of the text replaced by its value; one without a value stays as it is.
std::wstring filledIn(const std::wstring& text, const std::vector<TextArg>& args)
{
    std::wstring out;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t open = text.find(L'{', at);
        std::size_t close = open == std::wstring::npos ? open : text.find(L'}', open);
        if (close == std::wstring::npos) break;
        out.append(text, at, open - at);
        std::wstring name = text.substr(open + 1, close - open - 1);
        const TextArg* arg = nullptr;
        for (const TextArg& a : args) {
            if (name == a.name) arg = &a;
        }
        out += arg ? arg->value : text.substr(open, close - open + 1);
        at = close + 1;
    }
    out.append(text, at, std::wstring::npos);
    return out;
}

// The table the setup speaks from, English unless told otherwise; whether it speaks the pseudo-language.
std::atomic<const TextTable*> spoken{&kTextTables[0]};
std::atomic<bool> pseudo{false};

const char* tableText(const char* const* table, Txt key)
{
    const char* text = table[static_cast<unsigned>(key)];
    return text[0] != '\0' ? text : kTexts_en[static_cast<unsigned>(key)];
}

const TextTable* tableOf(const std::string& tag)
{
    for (const TextTable& table : kTextTables) {
        if (tag == table.tag) return &table;
    }
    return nullptr;
}

// The pseudo-language: accented letters and 40 % more, in brackets; the placeholders kept.
std::wstring pseudoOf(const std::wstring& english)
{
    const std::wstring
        plain = L"aceinosuyAEIOUC",
        accented = L"\u00e5\u00e7\u00e9\u00ee\u00f1\u00f6\u0161\u00fc\u00fd\u00c5\u00c9\u00ce\u00d6\u00dc\u00c7";
    std::wstring out = L"[";
    bool inPlaceholder = false;
    for (wchar_t c : english) {
        if (c == L'{') inPlaceholder = true;
        std::size_t at = inPlaceholder ? std::wstring::npos : plain.find(c);
        out += at == std::wstring::npos ? c : accented[at];
        if (c == L'}') inPlaceholder = false;
    }
    std::size_t longer = english.size() * 2 / 5;
    out += L' ';
    out.append(longer > 0 ? longer - 1 : 0, L'\u00b7');
    out += L']';
    return out;
}

std::wstring spokenText(Txt key)
{
    if (pseudo) return pseudoOf(wideFromUtf8(kTexts_en[static_cast<unsigned>(key)]));
    return wideFromUtf8(tableText(spoken.load()->texts, key));
}

} // namespace

std::wstring sayInEnglish(Txt key, const std::vector<TextArg>& args)
{
    return filledIn(wideFromUtf8(kTexts_en[static_cast<unsigned>(key)]), args);
}

std::wstring sayInEnglish(const Message& message)
{
    return message.empty() ? std::wstring() : sayInEnglish(message.key, message.args);
}

std::wstring say(Txt key, const std::vector<TextArg>& args) { return filledIn(spokenText(key), args); }

std::wstring say(const Message& message) { return message.empty() ? std::wstring() : say(message.key, message.args); }

std::wstring listInProse(const std::vector<std::wstring>& names)
{
    if (names.empty()) return {};
    std::wstring list = names.front();
    for (std::size_t i = 1; i + 1 < names.size(); ++i)
        list = say(Txt::ListComma, {{L"list", list}, {L"next", names[i]}});
    if (names.size() > 1) list = say(Txt::ListAnd, {{L"list", list}, {L"last", names.back()}});
    return list;
}

std::vector<std::string> textLanguages()
{
    std::vector<std::string> tags;
    for (const TextTable& table : kTextTables) tags.push_back(table.tag);
    return tags;
}

bool speak(const std::string& tag)
{
    const TextTable* table = tableOf(tag);
    pseudo = tag == kPseudoLanguage;
    spoken = table ? table : &kTextTables[0];
    return table || pseudo;
}

std::string spokenLanguage() { return pseudo ? std::string(kPseudoLanguage) : std::string(spoken.load()->tag); }

const char* textKeyName(Txt key) { return kTextKeys[static_cast<unsigned>(key)]; }

std::vector<Txt> missingTexts(const std::string& tag)
{
    std::vector<Txt> missing;
    const TextTable* table = tableOf(tag);
    for (unsigned i = 0; i < kTextCount; ++i) {
        bool testOnly = std::string_view(kTextKeys[i]).starts_with("Test");
        if (!testOnly && (!table || table->texts[i][0] == '\0')) missing.push_back(static_cast<Txt>(i));
    }
    return missing;
}

std::vector<std::wstring> placeholdersOf(const std::string& tag, Txt key)
{
    const TextTable* table = tableOf(tag);
    std::wstring text = wideFromUtf8(table ? table->texts[static_cast<unsigned>(key)] : "");
    std::vector<std::wstring> found;
    for (std::size_t open = text.find(L'{'); open != std::wstring::npos; open = text.find(L'{', open + 1)) {
        std::size_t close = text.find(L'}', open);
        if (close == std::wstring::npos) break;
        found.push_back(text.substr(open, close - open + 1));
    }
    return found;
}

} // namespace gls
