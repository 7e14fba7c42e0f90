#include "base/voice.hpp"

#include <gtest/gtest.h>

#include "base/system_language.hpp"

namespace velmorta {
namespace {

TEST(Voice, LanguageFromTheOptionAndTheLocale) {
  EXPECT_EQ(LanguageNamed("ja"), Language::Japanese);
  EXPECT_EQ(LanguageNamed("en"), Language::English);
  for (const char* other : {"JA", "ja_JP", "fr", ""}) EXPECT_EQ(LanguageNamed(other), std::nullopt) << other;

  const struct {
    const char *lcAll, *lcMessages, *lang;
    Language expected;
  } kLocales[] = {
      {nullptr, nullptr, "ja_JP.UTF-8", Language::Japanese},
      {nullptr, "ja_JP.eucJP", "C", Language::Japanese},
      {"C", "ja_JP.UTF-8", "ja_JP.UTF-8", Language::English},  // the first that is set decides
      {"", "", "ja", Language::Japanese},                       // an empty one is not set
      {nullptr, nullptr, nullptr, Language::English},
      {nullptr, nullptr, "en_US.UTF-8", Language::English},
  };
  for (const auto& c : kLocales) {
    EXPECT_EQ(LanguageOfLocale(c.lcAll, c.lcMessages, c.lang), c.expected) << (c.lang ? c.lang : "(unset)");
  }
}

TEST(Voice, JapaneseOnlyWhereTheStreamShowsIt) {
  // Windows names an encoding by its code page, iconv by a name.
  const std::string system = EncodingOf(StandardStream::Error).Name();
  const bool codePages = !system.empty() && system.find_first_not_of("0123456789") == std::string::npos;
  const StreamEncoding shiftJis(codePages ? "932" : "CP932"), latin(codePages ? "1252" : "ISO-8859-1");
  EXPECT_EQ(StreamEncoding().Encode("日本"), "日本");
  EXPECT_EQ(shiftJis.Encode("日本"), "\x93\xFA\x96\x7B");
  EXPECT_EQ(latin.Encode("日本"), std::nullopt);
  EXPECT_EQ(latin.Encode("abc"), "abc");

  EXPECT_EQ(Voice(Language::Japanese, latin).Lang(), Language::English);
  const Voice japanese(Language::Japanese, shiftJis);
  EXPECT_EQ(japanese.Lang(), Language::Japanese);
  EXPECT_EQ(japanese.Out(Say(Language::Japanese, Text::SeverityWarning)), "\x8C\x78\x8D\x90");  // 警告
  EXPECT_EQ(Voice().Out("\x95\x9d"), "\x95\x9d");  // English passes every byte as it is
}

}  // namespace
}  // namespace velmorta
