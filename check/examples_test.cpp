// The example boards as the board house would build them, read back from the
// converter's expected files the way the export composes them: copper = file 1 with the
// land flashes of file 3 (bottom) and file 2 with those of file 4 (top, double-sided);
// on a single-sided board file 2 holds wire jumpers; a hit on a land is plated on a
// double-sided board.
#include <gtest/gtest.h>

#include <string>

#include "check/report.hpp"
#include "check/run_check.hpp"
#include "config/config_reader.hpp"
#include "test_support/test_support.hpp"

namespace velmorta::check {
namespace {

const std::string kExamples = VELMORTA_SOURCE_DIR "/examples/";

// The shapes of one of the converter's files: in the Gerber files "*"-separated blocks,
// D01 and D02 switching the exposure for the next coordinates, D03 flashing, D10 and up
// selecting; in the drill file "Tn" selecting and every other coordinate a hit. Sizes
// come from the configuration list whose keys are `scale` um.
std::vector<Feature> Read(const std::string& path, const CodeList& list, std::int32_t scale, std::uint8_t file) {
  const std::string text = testing::ReadFile(path);
  std::vector<Feature> shapes;
  Point at;
  bool exposing = false;
  std::int32_t size = 0;
  const auto add = [&](Point to, bool stroke) {
    shapes.push_back({stroke ? at : to, to, size, stroke, stroke ? Role::Conductor : Role::Land,
                      {file, static_cast<std::uint32_t>(shapes.size() + 1)}});
  };
  for (std::size_t start = 0, end; (end = text.find_first_of("*\r\n", start)) != std::string::npos; start = end + 1) {
    std::string block = text.substr(start, end - start);
    while (block.size() >= 3 && block[0] == 'G') block.erase(0, 3);
    if (block == "D01" || block == "D02") {
      exposing = block == "D01";
    } else if (block == "D03") {
      add(at, false);
    } else if (!block.empty() && (block[0] == 'D' || block[0] == 'T')) {
      size = 0;
      for (const ListEntry& e : list) size = e.code == std::stoi(block.substr(1)) ? e.key * scale : size;
    } else if (!block.empty() && block[0] == 'X' && block.substr(0, 4) != "X0Y0") {
      const Point to{std::stoi(block.substr(1)), std::stoi(block.substr(block.find('Y') + 1))};
      if (exposing || file == 5) add(to, exposing);
      at = to;
    }
  }
  return shapes;
}

CheckBoard ReadExample(const std::string& name, PadFrame frame) {
  const Settings settings = ParseConfiguration(testing::ReadFile(kExamples + "velmorta.cfg"));
  const std::string dir = kExamples + "expected/" + name + "/";
  const auto lines = [&](const char* file, std::uint8_t n) { return Read(dir + file, settings.LineApertureList, 100, n); };
  const auto lands = [&](const char* file, std::uint8_t n) { return Read(dir + file, settings.LandApertureList, 10, n); };
  CheckBoard board;
  board.frame = frame;
  board.doubleSided = !lands("land2.gbr", 4).empty();
  board[Side::Bottom] = lines("bottom.gbr", 1);
  for (const Feature& f : lands("land1.gbr", 3)) board[Side::Bottom].push_back(f);
  for (const Feature& f : lines("top.gbr", 2)) {
    if (!board.doubleSided) board.links.push_back({{f.a, f.b}, f.origin()});
    if (board.doubleSided) board[Side::Top].push_back(f);
  }
  for (const Feature& f : lands("land2.gbr", 4)) board[Side::Top].push_back(f);
  for (const Feature& f : lines("outline.gbr", 7)) board.outline.push_back({{f.a, f.b}, f.diameter, f.origin()});
  // A hit on a land is plated on a double-sided board.
  for (const Feature& hit : Read(dir + "drill.drl", settings.ToolList, 10, 5)) {
    bool onLand = false;
    for (const Feature& f : board[Side::Bottom]) onLand |= f.role == Role::Land && f.a == hit.a;
    board.holes.push_back({hit.a, hit.diameter, board.doubleSided && onLand, hit.origin()});
  }
  return board;
}

TEST(Examples, WhatTheCheckFindsOnTheExampleBoards) {
  // Frames from the pad files: least x and greatest y of the outline, margin 5 mm.
  const CheckBoard board = ReadExample("board", {25400, 63500, 5000});
  ASSERT_EQ(board.holes.size(), 11u);
  EXPECT_DOUBLE_EQ(PadX(*board.frame, 12620), 130.0);  // U1's first land, as typed
  EXPECT_DOUBLE_EQ(PadY(*board.frame, 35480), 130.0);
  // The double-sided example is built as drawn: every land drilled with rings of 0.42 mm
  // and more, 0.9 mm between the lands of U1, the mounting holes 3.6 mm from the edge.
  EXPECT_TRUE(RunCheck(board, Limits{}).findings.empty()) << ReportText(RunCheck(board, Limits{}), Limits{});

  // The single-sided one has IC1's lands 1.64 mm across at the 0.05-inch pitch: they
  // overlap by 0.37 mm, shorting its pins, and their 0.8 mm drills leave a web of 0.47 mm.
  const CheckBoard single = ReadExample("single", {25400, 45720, 5000});
  ASSERT_EQ(single.links.size(), 4u);  // the jumper, drawn as three strokes, and the top fill
  const CheckResult found = RunCheck(single, Limits{});
  ASSERT_EQ(found.findings.size(), 2u) << ReportText(found, Limits{});
  EXPECT_EQ(found.findings[0].kind, Kind::HoleSpacing);
  EXPECT_NEAR(found.findings[0].measured, 470, 1e-9);
  EXPECT_EQ(found.findings[1].kind, Kind::LandsTouch);
  EXPECT_NEAR(found.findings[1].measured, -370, 1e-9);
  for (const Finding& f : found.findings) {
    EXPECT_EQ(f.at, (Point{10715, 20240}));
    EXPECT_DOUBLE_EQ(PadX(*single.frame, f.at.x), 122.5);  // between IC1's lands at x 120 and 125
  }
  // Without the jumper the free-end land at (160, 165) is still joined to the bottom
  // line it overlaps, and nothing else changes: the jumper joins groups, not faults.
  CheckBoard unlinked = single;
  unlinked.links.clear();
  EXPECT_EQ(RunCheck(unlinked, Limits{}).findings.size(), 2u);
}

}  // namespace
}  // namespace velmorta::check
