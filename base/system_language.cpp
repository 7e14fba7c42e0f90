#include "base/system_language.hpp"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmorta {
namespace {

#ifdef _WIN32

bool SystemIsJapanese() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE || GetACP() == 932;
}

#else

bool SystemIsJapanese() {
  return LanguageOfLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")) ==
         Language::Japanese;
}

#endif

}  // namespace

std::optional<Language> LanguageNamed(std::string_view name) {
  if (name == "ja") return Language::Japanese;
  if (name == "en") return Language::English;
  return std::nullopt;
}

Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* value : {lcAll, lcMessages, lang}) {
    if (value != nullptr && *value != '\0') {
      return std::string_view(value).starts_with("ja") ? Language::Japanese : Language::English;
    }
  }
  return Language::English;
}

Language SystemLanguage() {
  const char* chosen = std::getenv("VELMORTA_LANG");
  if (chosen != nullptr) {
    if (const auto language = LanguageNamed(chosen)) return *language;
  }
  return SystemIsJapanese() ? Language::Japanese : Language::English;
}

}  // namespace velmorta
