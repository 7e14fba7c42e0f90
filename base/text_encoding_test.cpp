#include "base/text_encoding.hpp"

#include <gtest/gtest.h>

#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmorta {
namespace {

struct Case {
  std::string system, utf8;
};

// Names as a configuration holds them: read so on POSIX, and on Windows where the
// system's code page is 932 (the code page 932 run of scripts/windows-cp932).
const std::vector<Case> kShiftJis = {
    {"\x8A\xEE\x94\xC2", "\xE5\x9F\xBA\xE6\x9D\xBF"},  // 基板
    {"\x95\x5C.gbr", "\xE8\xA1\xA8.gbr"},              // 表, whose second byte is "\"
    {"\xB1\xB2", "\xEF\xBD\xB1\xEF\xBD\xB2"},          // half-width katakana
};

TEST(TextEncoding, TurnsEveryNameIntoValidUtf8) {
  std::vector<Case> cases = {{"board", "board"}};
#ifdef _WIN32
  // Windows reads every name in its ANSI code page, whatever the bytes.
  const UINT codePage = GetACP();
  if (codePage == 932) cases.insert(cases.end(), kShiftJis.begin(), kShiftJis.end());
  if (codePage == 1252) cases.push_back({"caf\xE9", "caf\xC3\xA9"});
  if (codePage == CP_UTF8) cases.push_back({"\xE5\x9F\xBA\xE6\x9D\xBF", "\xE5\x9F\xBA\xE6\x9D\xBF"});
#else
  cases.insert(cases.end(), kShiftJis.begin(), kShiftJis.end());
  cases.insert(cases.end(), {
      {"\xE5\x9F\xBA\xE6\x9D\xBF", "\xE5\x9F\xBA\xE6\x9D\xBF"},  // 基板 in UTF-8 stays
      {"a\xFF" "b", "a\xEF\xBF\xBD" "b"},                         // no character of either
      {"\x8A", "\xEF\xBF\xBD"},                                   // a lead byte cut off
  });
#endif
  for (const auto& c : cases) {
    EXPECT_EQ(SystemTextToUtf8(c.system), c.utf8) << c.system;
  }
  // Whatever the bytes, the result is UTF-8.
  for (const std::string_view any : {"a\xFF" "b", "\x8A", "\x80\x81\xFE", "\xE5\x9F\xBA"}) {
    EXPECT_TRUE(IsValidUtf8(SystemTextToUtf8(any))) << any;
  }
  for (const std::string_view malformed : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE5\x9F", "\x80"}) {
    EXPECT_FALSE(IsValidUtf8(malformed)) << malformed;
  }
}

// A configuration saved by an editor as UTF-8 on a system that reads Shift-JIS: its names
// are UTF-8 beyond ASCII, which Shift-JIS names (or ASCII ones) are not.
TEST(TextEncoding, TellsUtf8NamesFromShiftJisAndAscii) {
  const struct {
    std::string_view name;
    bool utf8;
  } kNames[] = {
      {"bottom.gbr", false},
      {"", false},
      {"\xE7\x89\x87\xE9\x9D\xA2\xE3\x82\xBD.gbr", true},  // 片面ソ.gbr in UTF-8
      {"\xE5\x9F\xBA\xE6\x9D\xBF", true},                   // 基板 in UTF-8
      {"\x95\xD0\x96\xCA\x83\x5C.gbr", false},              // 片面ソ.gbr in Shift-JIS
      {"\x8A\xEE\x94\xC2", false},                          // 基板 in Shift-JIS
      {"\xB1\xB2", false},                                  // half-width katakana
      {"\xE5\x9F", false},                                  // UTF-8 cut off
  };
  for (const auto& c : kNames) EXPECT_EQ(IsUtf8BeyondAscii(c.name), c.utf8) << c.name;
}

}  // namespace
}  // namespace velmorta
