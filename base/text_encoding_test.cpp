#include "base/text_encoding.hpp"

#include <gtest/gtest.h>

namespace velmorta {
namespace {

TEST(TextEncoding, TurnsEveryNameIntoValidUtf8) {
  const struct {
    std::string system, utf8;
  } kCases[] = {
      {"board", "board"},
      {"\xE5\x9F\xBA\xE6\x9D\xBF", "\xE5\x9F\xBA\xE6\x9D\xBF"},  // 基板 in UTF-8 stays
#ifndef _WIN32
      {"\x8A\xEE\x94\xC2", "\xE5\x9F\xBA\xE6\x9D\xBF"},           // 基板 in Shift-JIS
      {"\x95\x5C.gbr", "\xE8\xA1\xA8.gbr"},                       // 表, whose second byte is "\"
      {"\xB1\xB2", "\xEF\xBD\xB1\xEF\xBD\xB2"},                   // half-width katakana
      {"a\xFF" "b", "a\xEF\xBF\xBD" "b"},                         // no character of either
      {"\x8A", "\xEF\xBF\xBD"},                                   // a lead byte cut off
#endif
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(SystemTextToUtf8(c.system), c.utf8) << c.system;
    EXPECT_TRUE(IsValidUtf8(SystemTextToUtf8(c.system)));
  }
  for (const std::string_view malformed : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE5\x9F", "\x80"}) {
    EXPECT_FALSE(IsValidUtf8(malformed)) << malformed;
  }
}

}  // namespace
}  // namespace velmorta
