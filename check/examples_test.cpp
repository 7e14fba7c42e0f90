// The example boards as the board house would build them, read back from the
// converter's expected files the way the export composes them: copper = file 1 with the
// land flashes of file 3 (bottom) and file 2 with those of file 4 (top, double-sided);
// on a single-sided board file 2 holds wire jumpers; a hit on a land is plated on a
// double-sided board.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "check/report.hpp"
#include "check/run_check.hpp"
#include "config/config_reader.hpp"
#include "test_support/test_support.hpp"

namespace velmorta::check {
namespace {

const std::string kExamples = VELMORTA_SOURCE_DIR "/examples/";

// Code -> diameter in 0.001 mm, from a configuration list whose key is `scale` um.
std::map<std::int32_t, std::int32_t> Sizes(const CodeList& list, std::int32_t scale) {
  std::map<std::int32_t, std::int32_t> sizes;
  for (const ListEntry& e : list) sizes.emplace(e.code, e.key * scale);
  return sizes;
}

struct Shapes {
  std::vector<Feature> strokes, flashes;
};

// The converter's RS-274-D: "*"-separated blocks; D01 and D02 switch the exposure for
// the next coordinates, D03 flashes at the current point, D10 and up select.
Shapes ReadGerber(const std::string& text, const std::map<std::int32_t, std::int32_t>& sizes, std::uint8_t file) {
  Shapes shapes;
  Point at;
  bool exposing = false;
  std::int32_t size = 0;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('*', start)) != std::string::npos; start = end + 1) {
    std::string block = text.substr(start, end - start);
    while (block.size() >= 3 && block[0] == 'G') block.erase(0, 3);
    if (block == "D01") {
      exposing = true;
    } else if (block == "D02") {
      exposing = false;
    } else if (block == "D03") {
      shapes.flashes.push_back({at, at, size, false, Role::Land, {file, static_cast<std::uint32_t>(shapes.flashes.size() + 1)}});
    } else if (!block.empty() && block[0] == 'D') {
      const auto found = sizes.find(std::stoi(block.substr(1)));
      size = found != sizes.end() ? found->second : 0;
    } else if (!block.empty() && block[0] == 'X') {
      const Point to{std::stoi(block.substr(1)), std::stoi(block.substr(block.find('Y') + 1))};
      if (exposing) {
        shapes.strokes.push_back({at, to, size, true, Role::Conductor, {file, static_cast<std::uint32_t>(shapes.strokes.size() + 1)}});
      }
      at = to;
    }
  }
  return shapes;
}

CheckBoard ReadExample(const std::string& name, PadFrame frame) {
  const Settings settings = ParseConfiguration(testing::ReadFile(kExamples + "velmorta.cfg"));
  const auto lines = Sizes(settings.LineApertureList, 100), lands = Sizes(settings.LandApertureList, 10);
  const std::string dir = kExamples + "expected/" + name + "/";
  const auto read = [&](const char* file, const std::map<std::int32_t, std::int32_t>& sizes, std::uint8_t number) {
    return ReadGerber(testing::ReadFile(dir + file), sizes, number);
  };
  CheckBoard board;
  board.doubleSided = testing::ReadFile(dir + "land2.gbr").find("D03") != std::string::npos;
  board.frame = frame;
  board[Side::Bottom] = read("bottom.gbr", lines, 1).strokes;
  for (const Feature& f : read("land1.gbr", lands, 3).flashes) board[Side::Bottom].push_back(f);
  const Shapes top = read("top.gbr", lines, 2);
  if (board.doubleSided) {
    board[Side::Top] = top.strokes;
    for (const Feature& f : read("land2.gbr", lands, 4).flashes) board[Side::Top].push_back(f);
  } else {
    for (const Feature& f : top.strokes) board.links.push_back({{f.a, f.b}, f.source});
  }
  for (const Feature& f : read("outline.gbr", lines, 7).strokes) board.outline.push_back({{f.a, f.b}, f.diameter, f.source});

  // Drill: "Tn" selects, "X..Y..M05" hits; tools are 0.1 mm keys.
  const auto tools = Sizes(settings.ToolList, 10);
  const std::string drill = testing::ReadFile(dir + "drill.drl");
  std::int32_t size = 0;
  for (std::size_t start = 0, end; (end = drill.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = drill.substr(start, end - start);
    if (line[0] == 'T') size = tools.at(std::stoi(line.substr(1)));
    if (line[0] != 'X' || line.find("M05") == std::string::npos || line.starts_with("X0Y0")) continue;
    const Point at{std::stoi(line.substr(1)), std::stoi(line.substr(line.find('Y') + 1))};
    bool onLand = false;
    for (const Feature& f : board[Side::Bottom]) onLand |= f.role == Role::Land && f.a == at;
    board.holes.push_back({at, size, board.doubleSided && onLand, {5, static_cast<std::uint32_t>(board.holes.size() + 1)}});
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
