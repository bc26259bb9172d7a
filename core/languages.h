// The languages the setup speaks, and which of them a user's Windows or the "/LANG=" switch asks
// for. Tags as Windows writes them: a language, and for Chinese the script.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace gls {

// The pseudo-language for tests: every text longer by 40 % and in accented letters, so that a
// text the tables lack or a box too small for a longer language shows in any test.
inline constexpr char kPseudoLanguage[] = "qps-ploc";

// The tags of the languages the setup speaks, English first; the pseudo-language is not among them.
std::vector<std::string> spokenLanguages();

// The spoken language a tag asks for, in any letter case: the tag itself, or its language ("de-AT"
// asks for "de"); for Chinese its script, so that "zh-CN", "zh-SG" and "zh-Hans-…" ask for
// "zh-Hans" and "zh-TW", "zh-HK", "zh-MO" and "zh-Hant-…" for none. Nothing for a tag that asks
// for no language the setup speaks.
std::optional<std::string> spokenLanguageFor(const std::wstring& tag);

// The locale the text of a spoken language is laid out in ("ja-JP" for "ja"), which picks the
// glyphs that fit it where the system's font fallback draws characters the main font lacks: Han
// characters look different in Japanese and in Chinese.
const wchar_t* textLocaleOf(const std::string& tag);

// The first of the user's display languages, in their order, that the setup speaks; English when
// it speaks none of them.
std::string languageForUser(const std::vector<std::wstring>& preferred);

} // namespace gls
