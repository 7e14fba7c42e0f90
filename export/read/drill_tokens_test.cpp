#include "export/read/drill_tokens.hpp"

#include <gtest/gtest.h>

#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

using K = DrillTokenKind;

TEST(DrillTokens, ReadsEveryLineTheConverterWrites) {
  const std::vector<DrillToken> tokens = TokenizeDrill(
      "G90\r\nX0Y0\r\nT9\r\nT3\r\nX12620Y35480M05\r\nX-254Y0*M05\r\nT7*\r\nX0Y0M05\r\nM02\r\n", "d.drl");
  const struct {
    K kind;
    std::size_t offset;
    std::int32_t value, x, y;
  } kExpected[] = {
      {K::Absolute, 0, 0, 0, 0},          {K::Origin, 5, 0, 0, 0},
      {K::Tool, 11, 9, 0, 0},             {K::Tool, 15, 3, 0, 0},
      {K::Hit, 19, 0, 12620, 35480},      {K::ThroughHit, 36, 0, -254, 0},
      {K::ToolChange, 49, 7, 0, 0},       {K::Hit, 54, 0, 0, 0},
      {K::End, 63, 0, 0, 0},
  };
  ASSERT_EQ(tokens.size(), std::size(kExpected));
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    EXPECT_EQ(tokens[i].kind, kExpected[i].kind) << i;
    EXPECT_EQ(tokens[i].offset, kExpected[i].offset) << i;
    EXPECT_EQ(tokens[i].value, kExpected[i].value) << i;
    EXPECT_EQ(tokens[i].x, kExpected[i].x) << i;
    EXPECT_EQ(tokens[i].y, kExpected[i].y) << i;
  }
}

TEST(DrillTokens, RefusesAnyOtherLineWithItsOffset) {
  const struct {
    const char* text;
    const char* message;
  } kCases[] = {
      {"G90\n", "d.drl: offset 3: text after the command, where CR LF should end the line: \"\\n\""},
      {"G90\r\nM02", "d.drl: offset 8: the last line does not end in CR LF"},
      {"G90 \r\n", "offset 3: text after the command"},
      {"T\r\n", "offset 0: not a tool selection the converter writes"},
      {"T03\r\n", "offset 0: not a tool selection"},
      {"T3**\r\n", "offset 3: text after the command"},
      {"X1Y2\r\n", "offset 0: a drill hit without M05"},
      {"X0Y1\r\n", "offset 0: a drill hit without M05"},
      {"X1Y2M5\r\n", "offset 0: a drill hit without M05"},
      {"X1M05\r\n", "offset 0: not a drill hit the converter writes"},
      {"M30\r\n", "offset 0: not a command the converter writes: \"M30\\r\\n\""},
      {"\r\n", "offset 0: not a command"},
      {"G90\r\n\r\n", "offset 5: not a command"},
      {"G90\r\nM48\r\n", "offset 5: not a command"},
  };
  for (const auto& c : kCases) {
    try {
      TokenizeDrill(c.text, "d.drl");
      ADD_FAILURE() << c.text << " was accepted";
    } catch (const ExportError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace velmorta::fab
