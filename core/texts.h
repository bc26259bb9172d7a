// The texts the user reads, from the tables in resources/texts, in the language the setup speaks.
// The code names a text by its key (core/text_keys.h, made from en.txt) and never spells it.
#pragma once

#include "core/text_keys.h"

#include <string>
#include <string_view>
#include <vector>

namespace gls {

// The value one {name} of a text stands for.
struct TextArg {
    const wchar_t* name;
    std::wstring value;

    bool operator==(const TextArg& other) const
    {
        return std::wstring_view(name) == std::wstring_view(other.name) && value == other.value;
    }
};

// A text with its values: made where a failure is found, said where it is shown. None when made
// without a key.
struct Message {
    Message() = default;
    Message(Txt key, std::vector<TextArg> args = {}) : key(key), args(std::move(args)), present(true) {}
    bool empty() const { return !present; }

    Txt key{};
    std::vector<TextArg> args;
    bool present = false;

    bool operator==(const Message&) const = default;
};

// The text in the language the setup speaks, each {name} filled in; a text the language lacks is
// said in English. Empty for no message.
std::wstring say(Txt key, const std::vector<TextArg>& args = {});
std::wstring say(const Message& message);

// The same in English, whatever the setup speaks: for the log, which support reads.
std::wstring sayInEnglish(Txt key, const std::vector<TextArg>& args = {});
std::wstring sayInEnglish(const Message& message);

// Names in a sentence: "A", "A and B", "A, B and C".
std::wstring listInProse(const std::vector<std::wstring>& names);

// The tags of the text tables, English first.
std::vector<std::string> textLanguages();

// Speaks this language from now on: a table's tag or the pseudo-language for tests; false, and
// English, for any other. Set once at the start, before anything is said.
bool speak(const std::string& tag);

// The tag of the language the setup speaks.
std::string spokenLanguage();

// A key's name, as the tables spell it.
const char* textKeyName(Txt key);

// The keys a table has no text for, which English fills in; the test mode's own keys ("Test…"),
// which are never translated, are not counted.
std::vector<Txt> missingTexts(const std::string& tag);

// The placeholders a text of a table holds, "{name}" each, in their order.
std::vector<std::wstring> placeholdersOf(const std::string& tag, Txt key);

} // namespace gls
