#pragma once
// The language a person reads the programs' messages in.

#include <optional>
#include <string_view>

#include "catalog/catalog.hpp"

namespace velmorta {

// "ja" or "en", as --lang and VELMORTA_LANG take them; nothing for any other text.
std::optional<Language> LanguageNamed(std::string_view name);

// VELMORTA_LANG when it names one; otherwise Japanese where the user's system is (on
// Windows its display language or ANSI code page 932; elsewhere the first of LC_ALL,
// LC_MESSAGES and LANG that is set begins with "ja"); English otherwise.
Language SystemLanguage();

// The POSIX rule on the values of LC_ALL, LC_MESSAGES and LANG (null when unset): the
// first that is set and not empty decides; Japanese when it begins with "ja".
Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang);

}  // namespace velmorta
