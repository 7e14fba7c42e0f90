#include "base/voice.hpp"

#include <gtest/gtest.h>

#include "base/system_language.hpp"
#include "base/text_encoding.hpp"

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

// iconv's names; Windows takes code page numbers, checked under wine in code page 932.
TEST(Voice, JapaneseOnlyWhereTheStreamShowsIt) {
  if (!SystemCodePageIsUtf8()) GTEST_SKIP() << "code pages, not iconv names";
  EXPECT_EQ(StreamEncoding().Encode("日本"), "日本");
  EXPECT_EQ(StreamEncoding("EUC-JP").Encode("日本"), "\xC6\xFC\xCB\xDC");
  EXPECT_EQ(StreamEncoding("CP932").Encode("日本"), "\x93\xFA\x96\x7B");
  EXPECT_EQ(StreamEncoding("ANSI_X3.4-1968").Encode("日本"), std::nullopt);
  EXPECT_EQ(StreamEncoding("ANSI_X3.4-1968").Encode("abc"), "abc");

  EXPECT_EQ(Voice(Language::Japanese, StreamEncoding("ANSI_X3.4-1968")).Lang(), Language::English);
  const Voice shiftJis(Language::Japanese, StreamEncoding("CP932"));
  EXPECT_EQ(shiftJis.Lang(), Language::Japanese);
  EXPECT_EQ(shiftJis.Out(Say(Language::Japanese, Text::SeverityWarning)), "\x8C\x78\x8D\x90");  // 警告
  EXPECT_EQ(Voice().Out("\x95\x9d"), "\x95\x9d");  // English passes every byte as it is
}

}  // namespace
}  // namespace velmorta
