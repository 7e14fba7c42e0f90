#include "check/limits.hpp"

#include <gtest/gtest.h>

#include "base/text_encoding.hpp"

namespace velmorta::check {
namespace {

TEST(Limits, DefaultsAreTheCommonProcess) {
  const Limits l;
  EXPECT_EQ(l.track, 127);
  EXPECT_EQ(l.spacing, 127);
  EXPECT_EQ(l.drillMin, 300);
  EXPECT_EQ(l.drillMax, 6300);
  EXPECT_EQ(l.ring, 130);
  EXPECT_EQ(l.copperEdge, 300);
  EXPECT_EQ(l.holeSpacing, 500);
  EXPECT_EQ(ParseLimits("", "empty"), l);
  EXPECT_EQ(ParseLimits(LimitsText(l), "text"), l);
}

TEST(Limits, SizesInMillimetres) {
  const struct {
    std::string_view value;
    std::int32_t micrometres;
  } kGood[] = {
      {"0.127", 127}, {"0.15", 150}, {"2", 2000}, {"2.", 2000}, {".5", 500}, {"0.1270", 127},
      {"0.3mm", 300}, {"0.3 mm", 300}, {"1000", 1000000}, {"0", 0}, {" 0.2 ", 200}, {"007", 7000},
  };
  for (const auto& c : kGood) {
    Limits l;
    SetLimit(l, "spacing", c.value);
    EXPECT_EQ(l.spacing, c.micrometres) << c.value;
  }
  const struct {
    std::string_view name, value, message;
  } kBad[] = {
      {"spacing", "0.1275", "finer than 0.001 mm: \"0.1275\""},
      {"spacing", "1000.001", "larger than 1000 mm"},
      {"spacing", "99999999999999999999", "larger than 1000 mm"},
      {"spacing", "-0.1", "not a size"},
      {"spacing", "", "not a size"},
      {"spacing", "0,1", "not a size"},
      {"spacing", "1e3", "not a size"},
      {"spacing", "0.1 inch", "not a size"},
      {"spacing", ".", "not a size"},
      {"clearance", "0.1", "unknown limit \"clearance\""},
      {"spacing", std::string_view("0.1\0", 4), "not a size in millimetres: \"0.1\\x00\""},
      {"a\x01", "1", "unknown limit \"a\\x01\""},  // a control character is never shown as it is
  };
  for (const auto& c : kBad) {
    Limits l;
    try {
      SetLimit(l, c.name, c.value);
      ADD_FAILURE() << "accepted " << c.name << " " << c.value;
    } catch (const LimitsError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
    EXPECT_EQ(l, Limits{}) << "changed by a rejected value";
  }
  // 幅 in UTF-8 and in Shift-JIS: shown as typed where the system reads it as text.
  for (const std::string name : {"\xE5\xB9\x85", "\x95\x9d"}) {
    Limits l;
    try {
      SetLimit(l, name, "1");
    } catch (const LimitsError& e) {
      EXPECT_EQ(std::string(e.what()) == "unknown limit \"" + name + "\"", IsValidSystemText(name)) << e.what();
    }
  }
}

TEST(Limits, FileLinesCommentsAndErrors) {
  const Limits l = ParseLimits(
      "# a house's limits\r\n"
      "spacing 0.15\r\n"
      "\n"
      "  track=0.2   # thinner tracks cost more\n"
      "ring = 0.1\n"
      "spacing 0.16\n"  // a later line wins
      "merge 0",
      "house.lim");
  Limits expected;
  expected.spacing = 160;
  expected.track = 200;
  expected.ring = 100;
  expected.merge = 0;
  EXPECT_EQ(l, expected);

  try {
    ParseLimits("track 0.2\n\nspacing 0.1x\n", "house.lim");
    ADD_FAILURE() << "accepted";
  } catch (const LimitsError& e) {
    EXPECT_STREQ(e.what(), "house.lim:3: not a size in millimetres: \"0.1x\"");
  }
  EXPECT_EQ(ParseLimits("\xEF\xBB\xBFtrack 0.3\n", "f").track, 300);  // a byte order mark
  try {
    ParseLimits("track 0.2\nspacing 0.1x\n", "house.lim", {}, Language::Japanese);
    ADD_FAILURE() << "accepted";
  } catch (const LimitsError& e) {
    EXPECT_STREQ(e.what(), "house.lim:2: mm 単位の大きさではありません: \"0.1x\"");
  }
  EXPECT_THROW(ParseLimits("track\n", "f"), LimitsError);
  EXPECT_THROW(ParseLimits("= 0.2\n", "f"), LimitsError);
}

TEST(Limits, MillimetreText) {
  EXPECT_EQ(Millimetres(127), "0.127");
  EXPECT_EQ(Millimetres(6300), "6.300");
  EXPECT_EQ(Millimetres(-5), "-0.005");
  EXPECT_EQ(Millimetres(INT64_MIN), "-9223372036854775.808");
}

}  // namespace
}  // namespace velmorta::check
