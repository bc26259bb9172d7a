// The text tables and how a text is said.
#include "texts.h"

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

const char* tableText(const char* const* table, Txt key)
{
    const char* text = table[static_cast<unsigned>(key)];
    return text[0] != '\0' ? text : kTexts_en[static_cast<unsigned>(key)];
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

std::wstring say(Txt key, const std::vector<TextArg>& args)
{
    return filledIn(wideFromUtf8(tableText(kTextTables[0].texts, key)), args);
}

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

} // namespace gls
