#include "emit/copper.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

using testing::OutLine;
using testing::OutSegment;

constexpr const char* kTrailer = "G01X0Y0*M00*";

TEST(FillY, TakesOff25Point4TruncatedTowardZero) {
  const std::pair<std::int32_t, std::int32_t> kCases[] = {
      {1000, 974}, {26, 0}, {25, 0}, {10, -15}, {0, -25}, {-1, -26}, {INT_MAX, 2147483621}, {INT_MIN, 2147483623}};
  for (const auto& [y, corrected] : kCases) EXPECT_EQ(FillY(y), corrected) << y;
}

Board Copper(int pitch, int type, const std::vector<Line>& top, const std::vector<Line>& bottom) {
  Board board = testing::FramedBoard(pitch, type);
  for (const Line& l : top) board.TopLineTable.Append(l);
  for (const Line& l : bottom) board.BottomLineTable.Append(l);
  return board;
}

TEST(Copper, LineAperturesByModeAndBoardType) {
  const std::vector<Line> kLines = {OutLine(100, 200, 300, 200, 12), OutLine(300, 200, 300, 400, 20)};
  const std::string A = "X100Y200*D01*X300Y200*D02*", B = "X300Y200*D01*X300Y400*D02*";
  const struct {
    const char* mode;
    int type;
    std::string top, bottom;
  } kCases[] = {
      {"L1", 0, "D108*" + A + B, "D108*" + A + B},
      {"L1", 1, "D108*" + A + B, "D108*" + A + B},
      {"L2", 0, "D108*" + A + B, "D110*" + A + "D112*" + B},  // single-sided: the fixed one on top
      {"L2", 1, "D110*" + A + "D112*" + B, "D110*" + A + "D112*" + B},
      {"LX", 0, "D108*" + A + B, A + B},
      {"LX", 1, A + B, A + B},  // the header's aperture stays
  };
  for (const auto& c : kCases) {
    const testing::Conversion run = testing::EmitBoard(testing::EmissionConfig(c.mode), Copper(1, c.type, kLines, kLines));
    EXPECT_FALSE(run.fatal);
    EXPECT_EQ(run.out[2], c.top + kTrailer) << c.mode << ", type " << c.type;
    EXPECT_EQ(run.out[1], c.bottom + kTrailer) << c.mode << ", type " << c.type;
  }
}

TEST(Copper, TopWidthsSevenAndEightOnPitchOne) {
  const testing::Conversion run = testing::EmitBoard(
      testing::EmissionConfig("L2"), Copper(1, 1, {OutLine(1, 2, 3, 4, 7), OutLine(5, 6, 7, 8, 8)}, {}));
  EXPECT_EQ(run.out[2], std::string("D106*X1Y2*D01*X3Y4*D02*D108*X5Y6*D01*X7Y8*D02*") + kTrailer);
}

TEST(Copper, FillsSelectKey3BeforeEveryStrokeInEveryMode) {
  Board board = testing::FramedBoard(2, 1);
  board.TopFillTable.Append(OutSegment(100, 1000, 300, 10));
  board.TopFillTable.Append(OutSegment(300, 10, 300, 26));
  board.BottomFillTable.Append(OutSegment(5, 25, 6, -100));
  board.BottomLineTable.Append(OutLine(1, 2, 3, 4, 5));
  for (const char* mode : {"L1", "L2", "LX"}) {
    const testing::Conversion run = testing::EmitBoard(testing::EmissionConfig(mode), board);
    const std::string line = mode == std::string("LX") ? "" : "D104*";  // the fixed one (key 4) or width 5's
    EXPECT_EQ(run.out[2], std::string(mode == std::string("L1") ? "D104*" : "") +
                              "D103*X100Y974*D01*X300Y-15*D02*D103*X300Y-15*D01*X300Y0*D02*" + kTrailer)
        << mode;
    EXPECT_EQ(run.out[1], line + "X1Y2*D01*X3Y4*D02*D103*X5Y0*D01*X6Y-125*D02*" + kTrailer) << mode;
  }
}

TEST(Copper, SingleSidedBoardsAlwaysNeedTheFixedLineAperture) {
  const Board board = Copper(1, 0, {OutLine(1, 2, 3, 4, 5)}, {OutLine(1, 2, 3, 4, 5)});
  for (const char* mode : {"L1", "L2", "LX"}) {
    const testing::Conversion run =
        testing::EmitBoard(testing::EmissionConfig(mode, "L0", ">l1 0.7\n"), board);  // no key 7
    EXPECT_EQ(run.fatal, Message::BadLineWidthDefault) << mode;
    EXPECT_EQ(run.out[2], "") << mode;
    EXPECT_EQ(run.out[1], "") << mode;
  }
  Board doubleSided = board;
  doubleSided.BoardType = BoardType::DoubleSided;
  const testing::Conversion run = testing::EmitBoard(testing::EmissionConfig("LX", "L0", ">l1 0.7\n"), doubleSided);
  EXPECT_FALSE(run.fatal);
  EXPECT_EQ(run.out[2], std::string("X1Y2*D01*X3Y4*D02*") + kTrailer);
}

}  // namespace
}  // namespace velmorta
