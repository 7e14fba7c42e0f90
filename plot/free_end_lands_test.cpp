#include "plot/free_end_lands.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

using testing::OutLand;
using testing::OutLine;

std::string At(Point p, const char* tail) {
  return std::string("X").append(std::to_string(p.X)).append("Y").append(std::to_string(p.Y)).append(tail);
}

Board SingleSided(int pitch, const std::vector<Land>& parts, const std::vector<Line>& lines) {
  Board board = testing::FramedBoard(pitch, 0);
  for (const Land& p : parts) board.PartsTable.Append(p);
  for (const Line& l : lines) board.TopLineTable.Append(l);
  return board;
}

TEST(FreeEndLands, EndsMeetingNoOtherTopLineAndNoPartAreFlashedDrawnAndDrilled) {
  const struct {
    const char* name;
    std::vector<Land> parts;
    std::vector<Line> lines;
    std::vector<Point> partLands;  // visible parts, flashed and drilled before the free ends
    std::vector<Point> freeEnds;
  } kCases[] = {
      {"both ends on parts", {OutLand(1000, 1000), OutLand(2000, 1000)}, {OutLine(1000, 1000, 2000, 1000)},
       {{1000, 1000}, {2000, 1000}}, {}},
      {"shared end",
       {},
       {OutLine(1000, 1000, 2000, 1000), OutLine(2000, 1000, 2000, 2000)},
       {},
       {{1000, 1000}, {2000, 2000}}},
      {"three lines at one point",
       {},
       {OutLine(1000, 1000, 2000, 1000), OutLine(2000, 1000, 3000, 1000), OutLine(2000, 1000, 2000, 2000)},
       {},
       {{1000, 1000}, {3000, 1000}, {2000, 2000}}},
      {"identical records", {}, {OutLine(1000, 1000, 2000, 1000), OutLine(1000, 1000, 2000, 1000)}, {}, {}},
      {"reversed duplicate", {}, {OutLine(1000, 1000, 2000, 1000), OutLine(2000, 1000, 1000, 1000)}, {}, {}},
      {"zero-length record alone", {}, {OutLine(3000, 3000, 3000, 3000)}, {}, {{3000, 3000}, {3000, 3000}}},
      {"zero-length record at a line end",
       {},
       {OutLine(1000, 1000, 2000, 1000), OutLine(2000, 1000, 2000, 1000)},
       {},
       {{1000, 1000}}},
      {"two zero-length records at one point", {}, {OutLine(5, 5, 5, 5), OutLine(5, 5, 5, 5)}, {}, {}},
      {"parts one pad unit off in x, one board unit off in y",
       {OutLand(1254, 1000), OutLand(2000, 999)},
       {OutLine(1000, 1000, 2000, 1000)},
       {{1254, 1000}, {2000, 999}},
       {{1000, 1000}, {2000, 1000}}},
      {"hidden records count for nothing",
       {OutLand(0, 5000), OutLand(1000, 1000)},
       {OutLine(1000, 1000, 2000, 1000), OutLine(0, 1000, 2000, 1000), OutLine(2000, 1000, 3000, 1000)},
       {},
       {{1000, 1000}, {2000, 1000}}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const testing::Conversion run = testing::EmitBoard(testing::EmissionConfig("LX"), SingleSided(1, c.parts, c.lines));
    ASSERT_FALSE(run.fatal);
    std::string flashes, hits;
    for (const auto* points : {&c.partLands, &c.freeEnds}) {
      for (const Point p : *points) {
        flashes += At(p, "*D03*");
        hits += At(p, "M05\r\n");
      }
    }
    EXPECT_EQ(run.out[3], flashes + "D02*G01X0Y0*M00*");
    EXPECT_EQ(run.out[6], std::string("D1*") + flashes + "D02*G01X0Y0*M00*");
    EXPECT_EQ(run.out[5], std::string("T1\r\n") + hits + "M02\r\n");
  }
}

TEST(FreeEndLands, OnlySingleSidedBoardsAndL1SelectsNothing) {
  const std::vector<Line> lines = {OutLine(1000, 1000, 2000, 1000)};
  Board board = SingleSided(1, {OutLand(5000, 5000, 9)}, lines);
  const testing::Conversion fixed = testing::EmitBoard(testing::EmissionConfig("L1"), board);
  EXPECT_EQ(fixed.out[3], "D21*X5000Y5000*D03*X1000Y1000*D03*X2000Y1000*D03*D02*G01X0Y0*M00*");

  board.BoardType = BoardType::DoubleSided;
  const testing::Conversion doubleSided = testing::EmitBoard(testing::EmissionConfig("LX"), board);
  EXPECT_EQ(doubleSided.out[5], "T1\r\nX5000Y5000M05\r\nM02\r\n");
}

TEST(FreeEndLands, L2TakesTheLandCodeOfTheStoredPartWithTheLinesIndex) {
  // Stored land1 codes 6, 7, 20; the part of code 7 hides itself and the next one from the
  // part test and the part lands, not from the code rule. Line 3 has no part: code 0.
  const Board board = SingleSided(2, {OutLand(8000, 8000, 6), OutLand(0, 9000, 7), OutLand(9000, 9000, 20)},
                                  {OutLine(1000, 1000, 2000, 1000), OutLine(1000, 3000, 2000, 3000),
                                   OutLine(2000, 3000, 2000, 4000), OutLine(5000, 5000, 6000, 5000)});
  const testing::Conversion run = testing::EmitBoard(testing::EmissionConfig("L2"), board);
  ASSERT_FALSE(run.fatal);
  const std::string ends = "X1000Y1000*D03*X2000Y1000*D03*X1000Y3000*D03*X2000Y4000*D03*X5000Y5000*D03*X6000Y5000*D03*";
  EXPECT_EQ(run.out[3],
            "D22*X8000Y8000*D03*"                          // the part land, code 6
            "D22*X1000Y1000*D03*D22*X2000Y1000*D03*"       // 6 after 0: before each free end
            "D22*X1000Y3000*D03*"                          // 7 after 6: same class, written again
            "X2000Y4000*D03*"                              // 20: no class
            "D21*X5000Y5000*D03*D21*X6000Y5000*D03*"       // 0 after 20
            "D02*G01X0Y0*M00*");
  EXPECT_EQ(run.out[6], std::string("D1*X8000Y8000*D03*") + ends + "D02*G01X0Y0*M00*");
}

}  // namespace
}  // namespace velmorta
