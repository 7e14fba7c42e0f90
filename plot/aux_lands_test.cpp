#include "plot/aux_lands.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

using testing::OutLand;
using testing::OutLine;

TEST(AuxLandInnerPoint, LiesTowardTheOtherEnd) {
  const struct {
    PlotTransform plot;
    std::int32_t length, px, py, ox, oy;
    Point q;
  } kCases[] = {
      {{0, 10000, 0}, 1000, 10000, 5000, 20000, 5000, {11000, 5000}},  // horizontal
      {{0, 10000, 0}, 1000, 20000, 5000, 10000, 5000, {19000, 5000}},
      {{0, 0, 0}, 1000, 100, 100, 100, 300, {100, -1100}},             // vertical: output Y falls
      {{0, 0, 0}, 1000, 100, 300, 100, 100, {100, 700}},
      {{0, 40000, 0}, 1000, 10000, 20000, 20000, 10000, {10714, 20714}},  // diagonal, up and right
      {{0, 40000, 0}, 1000, 10000, 20000, 5000, 25000, {9285, 19285}},    // down and left
      {{1000, 0, 5000}, 700, 51000, 0, 52000, 1, {55500, 4499}},          // 500 one way,
      {{1000, 0, 5000}, 700, 51000, 0, 50000, -1, {54499, 5500}},         // 501 the other
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(AuxLandInnerPoint(c.plot, c.length, c.px, c.py, c.ox, c.oy), c.q)
        << "P (" << c.px << ", " << c.py << ") O (" << c.ox << ", " << c.oy << ")";
  }
}

// What a family adds to output files 1 and 2, found by running the board once with the
// auxiliary lands on and once with them off.
struct Added {
  std::string bottom, top;
  std::optional<Message> fatal;
};

Added AuxLands(std::string_view mode, const Board& board, std::string_view extra = "") {
  const testing::Conversion on = testing::EmitBoard(testing::EmissionConfig(mode, "L3", extra), board);
  const testing::Conversion off = testing::EmitBoard(testing::EmissionConfig(mode, "L0", extra), board);
  Added added{"", "", on.fatal};
  for (const auto& [n, text] : {std::pair{1, &added.bottom}, std::pair{2, &added.top}}) {
    const std::string& with = on.out[static_cast<std::size_t>(n)];
    std::string without = off.out[static_cast<std::size_t>(n)];
    const std::string trailer = "G01X0Y0*M00*";
    EXPECT_TRUE(without.ends_with(trailer)) << without;
    without.resize(without.size() - std::min(without.size(), trailer.size()));
    EXPECT_TRUE(with.starts_with(without)) << "file " << n << ": " << with;
    *text = with.substr(std::min(with.size(), without.size()));
    if (!on.fatal) {
      EXPECT_TRUE(text->ends_with(trailer)) << *text;
      text->resize(text->size() - std::min(text->size(), trailer.size()));
    }
  }
  return added;
}

Board WithLines(int pitch, int type, const std::vector<Line>& bottom, const std::vector<Line>& top = {},
                const std::vector<Land>& parts = {}) {
  Board board = testing::FramedBoard(pitch, type);
  for (const Line& l : bottom) board.BottomLineTable.Append(l);
  for (const Line& l : top) board.TopLineTable.Append(l);
  for (const Land& p : parts) board.PartsTable.Append(p);
  return board;
}

const Line kHorizontal = OutLine(10000, 5000, 20000, 5000);
const char* const kHorizontalLands = "X10000Y5000*D01*X11000Y5000*D02*X19000Y5000*D01*X20000Y5000*D02*";

TEST(AuxiliaryLands, StrokesAtMarkedEnds) {
  const std::string H = kHorizontalLands;
  const struct {
    const char* name;
    const char* mode;
    Board board;
    const char* extra;
    std::string bottom, top;
  } kCases[] = {
      {"horizontal, single-sided: no top family", "L1", WithLines(1, 0, {kHorizontal}, {kHorizontal}), "",
       "D112*" + H, ""},
      {"double-sided: the bottom family writes its aperture twice", "L1",
       WithLines(1, 1, {kHorizontal}, {kHorizontal}), "", "D112*D112*" + H, "D112*" + H},
      {"vertical", "L1", WithLines(1, 0, {OutLine(1000, 1000, 1000, 3000)}), "",
       "D112*X1000Y1000*D01*X1000Y2000*D02*X1000Y2000*D01*X1000Y3000*D02*", ""},
      {"diagonal, up", "L1", WithLines(1, 0, {OutLine(10000, 20000, 20000, 30000)}), "",
       "D112*X10000Y20000*D01*X10714Y20714*D02*X19285Y29285*D01*X20000Y30000*D02*", ""},
      {"diagonal, down", "L1", WithLines(1, 0, {OutLine(10000, 20000, 5000, 15000)}), "",
       "D112*X10000Y20000*D01*X9285Y19285*D02*X5714Y15714*D01*X5000Y15000*D02*", ""},
      {"shared ends get none", "L1",
       WithLines(1, 0, {OutLine(1000, 1000, 3000, 1000), OutLine(3000, 1000, 3000, 3000)}), "",
       "D112*X1000Y1000*D01*X2000Y1000*D02*X3000Y2000*D01*X3000Y3000*D02*", ""},
      {"a shared end on a part gets one", "L1",
       WithLines(1, 0, {OutLine(1000, 1000, 3000, 1000), OutLine(3000, 1000, 3000, 3000)}, {},
                 {OutLand(3000, 1000)}),
       "",
       "D112*X1000Y1000*D01*X2000Y1000*D02*X2000Y1000*D01*X3000Y1000*D02*"
       "X3000Y1000*D01*X3000Y2000*D02*X3000Y2000*D01*X3000Y3000*D02*",
       ""},
      {"zero length, touching nothing: a dot", "L1", WithLines(1, 0, {OutLine(4000, 4000, 4000, 4000)}), "",
       "D112*X4000Y4000*D01*X4000Y4000*D02*", ""},
      {"zero length at a shared point", "L1",
       WithLines(1, 0, {OutLine(1000, 1000, 3000, 1000), OutLine(3000, 1000, 3000, 1000)}), "",
       "D112*X1000Y1000*D01*X2000Y1000*D02*", ""},
      {"zero length at a shared point on a part: first end only, still a whole dot", "L1",
       WithLines(1, 0, {OutLine(1000, 1000, 3000, 1000), OutLine(3000, 1000, 3000, 1000)}, {},
                 {OutLand(3000, 1000)}),
       "", "D112*X1000Y1000*D01*X2000Y1000*D02*X2000Y1000*D01*X3000Y1000*D02*X3000Y1000*D01*X3000Y1000*D02*",
       ""},
      {"shorter than the land: overshoots", "L1", WithLines(1, 0, {OutLine(1000, 1000, 1254, 1000)}), "",
       "D112*X1000Y1000*D01*X2000Y1000*D02*X254Y1000*D01*X1254Y1000*D02*", ""},
      {"empty table: the aperture alone", "L1", WithLines(1, 1, {}), "", "D112*D112*", "D112*"},
      {"pitch 2: its own size and length", "L1", WithLines(2, 0, {kHorizontal}), "",
       "D108*X10000Y5000*D01*X10500Y5000*D02*X19500Y5000*D01*X20000Y5000*D02*", ""},
      {"pitch 0: the first code upward, zero length", "L1", WithLines(0, 0, {kHorizontal}), "",
       "D103*X10000Y5000*D01*X10000Y5000*D02*X20000Y5000*D01*X20000Y5000*D02*", ""},
      {"pitch 0 in L2: no selection, zero length", "L2", WithLines(0, 0, {OutLine(1, 2, 3, 4, 5)}), "",
       "X1Y2*D01*X1Y2*D02*X3Y4*D01*X3Y4*D02*", ""},
      {"a duplicated size: the first entry, searched upward", "L1", WithLines(1, 0, {}), ">D1.2 120\n", "D112*",
       ""},
      {"a size without a code: the next code upward", "L1", WithLines(1, 0, {}),
       ">D2.0 0\n>D2.2 55\n>D2.0 99\n>h1 2.0\n", "D55*", ""},
      {"no code upward: code 0", "L1", WithLines(1, 0, {}), ">D2.0 0\n>h1 2.0\n", "D0*", ""},
      {"other modes: nothing", "LX", WithLines(1, 1, {kHorizontal}, {kHorizontal}), "", "", ""},
      {"L2: each family its own memo", "L2", WithLines(1, 1, {OutLine(1, 2, 3, 2, 5)}, {OutLine(1, 2, 3, 2, 5)}),
       "", "D108*X1Y2*D01*X1001Y2*D02*X-997Y2*D01*X3Y2*D02*", "D108*X1Y2*D01*X1001Y2*D02*X-997Y2*D01*X3Y2*D02*"},
      {"L2: the choice comes with the only marked end", "L2",
       WithLines(2, 0, {OutLine(1000, 8000, 2000, 8000, 2), OutLine(1000, 8000, 1000, 9000, 2)}), "",
       "D106*X1500Y8000*D01*X2000Y8000*D02*X1000Y8500*D01*X1000Y9000*D02*", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const Added added = AuxLands(c.mode, c.board, c.extra);
    EXPECT_FALSE(added.fatal);
    EXPECT_EQ(added.bottom, c.bottom);
    EXPECT_EQ(added.top, c.top);
  }
}

TEST(AuxiliaryLands, L2WidthMemoWritesOnlyOnChange) {
  // Separate lines, both ends marked; widths 0 (equal to the starting memo), 5, 5, 40 (no
  // class), 40, 9, 0 (class of 8 to 10, again).
  const std::int32_t kWidths[] = {0, 5, 5, 40, 40, 9, 0};
  const char* const kSelections[] = {"", "D108*", "", "", "", "D110*", "D110*"};
  std::vector<Line> lines;
  std::string expected;
  for (std::size_t i = 0; i < std::size(kWidths); ++i) {
    const std::int32_t y = static_cast<std::int32_t>(1000 * (i + 1));
    lines.push_back(OutLine(1000, y, 3000, y, kWidths[i]));
    const std::string Y = std::to_string(y);
    expected.append(kSelections[i]).append("X1000Y" + Y + "*D01*X2000Y" + Y + "*D02*");
    expected.append("X2000Y" + Y + "*D01*X3000Y" + Y + "*D02*");
  }
  const Added added = AuxLands("L2", WithLines(1, 0, lines));
  EXPECT_EQ(added.bottom, expected);
}

TEST(AuxiliaryLands, L1WithoutTheLandSizeEndsTheRun) {
  for (const int pitch : {1, 2}) {
    const Added added = AuxLands("L1", WithLines(pitch, 1, {kHorizontal}, {kHorizontal}), ">h1 9.9\n>h2 9.9\n");
    EXPECT_EQ(added.fatal, Message::BadAuxLandDefault) << pitch;
    EXPECT_EQ(added.bottom, "");  // what came before stays, without a trailer
    EXPECT_EQ(added.top, "");
  }
}

}  // namespace
}  // namespace velmorta
