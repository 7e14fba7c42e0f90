#include "export/model/fab_settings.hpp"

#include <gtest/gtest.h>

#include <string>

#include "check/limits.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

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
