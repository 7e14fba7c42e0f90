#include "export/model/fab_settings.hpp"

#include <gtest/gtest.h>

#include <string>

#include "check/limits.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

TEST(FabSettings, ReadsTheExportsConfigurationLines) {
  const FabSettings defaults = ParseFabSettings(">L2\n>D0.3 10\n# >E bogus\n", "c");
  EXPECT_EQ(defaults.firstSide, Side::Bottom);
  EXPECT_EQ(defaults.singleSidedTop, SingleSidedTop::Legend);
  EXPECT_EQ(defaults.maskExpansion, 50);
  EXPECT_EQ(defaults.sides, SidesRule::Auto);
  const FabSettings changed = ParseFabSettings(
      ">E first-side top\r\n>E single-sided-top omit\n>E mask-expansion 0.1\n>E sides 2\n>E  mask-expansion  .075 \n", "c");
  EXPECT_EQ(changed.firstSide, Side::Top);
  EXPECT_EQ(changed.singleSidedTop, SingleSidedTop::Omit);
  EXPECT_EQ(changed.maskExpansion, 75);
  EXPECT_EQ(changed.sides, SidesRule::Two);
  const struct {
    const char* line;
    const char* message;
  } kBad[] = {
      {">E mask-expansion 0.0505", "c: line 1: \">E mask-expansion\" takes millimetres from 0 to 10"},
      {">E mask-expansion 10.001", "takes millimetres from 0 to 10"},
      {">E mask-expansion", "takes millimetres from 0 to 10, at most three decimals, not \"\""},
      {">E first-side left", "\">E first-side\" takes bottom or top, not \"left\""},
      {">E sides 3", "takes auto, 1 or 2"},
      {">E single-sided-top silk", "takes legend, copper or omit"},
      {">E mask-expansion 1 2", "takes millimetres from 0 to 10, at most three decimals, not \"1 2\""},
      {">E", "unknown export setting \">E \""},
  };
  for (const auto& c : kBad) {
    try {
      ParseFabSettings(c.line, "c");
      ADD_FAILURE() << c.line;
    } catch (const ExportError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
}

// A configuration's ">E" size and a board house's limit are one grammar of millimetres.
TEST(FabSettings, MaskExpansionTakesMillimetresAsALimitDoes) {
  const struct {
    const char* text;
    std::int64_t micrometres;  // -1: refused
  } kCases[] = {
      {"0.05", 50},   {"0.05mm", 50}, {"0.05 mm", 50}, {".075", 75},      {"2", 2000},  {"2.", 2000},
      {"0.0500", 50}, {"10", 10000},  {"0.0505", -1},  {"1000.001", -1},  {"", -1},     {"mm", -1},
      {"-1", -1},     {"1 2", -1},    {"0,05", -1},    {"0x10", -1},      {"1e1", -1},  {".", -1},
  };
  for (const auto& c : kCases) {
    std::int64_t expansion = -1;
    try {
      expansion = ParseFabSettings(">E mask-expansion " + std::string(c.text) + "\n", "c").maskExpansion;
    } catch (const ExportError&) {
    }
    EXPECT_EQ(expansion, c.micrometres) << c.text;
    std::int64_t limit = -1;
    check::Limits limits;
    try {
      check::SetLimit(limits, "track", c.text);
      limit = limits.track;
    } catch (const check::LimitsError&) {
    }
    EXPECT_EQ(limit, c.micrometres) << c.text;
  }
}

// The lines come from the configuration reader: a byte order mark changes nothing, and
// messages name the line of the file.
TEST(FabSettings, ReadsTheLinesTheConfigurationReaderKept) {
  const struct {
    const char* configuration;
    const char* message;  // "": accepted
  } kCases[] = {
      {">E sides bogus\n", "c: line 1: \">E sides\" takes auto, 1 or 2"},
      {"\xEF\xBB\xBF>E sides bogus\n", "c: line 1: \">E sides\" takes auto, 1 or 2"},
      {"\xEF\xBB\xBF>L2\r\n>E sides 2\r\n>E first-side left\r\n", "c: line 3: \">E first-side\""},
      {"\xEF\xBB\xBF>E sides 2\n# >E bogus\n", ""},
  };
  for (const auto& c : kCases) {
    std::string message;
    try {
      ParseFabSettings(c.configuration, "c");
    } catch (const ExportError& error) {
      message = error.what();
    }
    EXPECT_EQ(message.substr(0, std::string(c.message).size()), c.message) << c.configuration;
  }
}

}  // namespace
}  // namespace velmorta::fab
