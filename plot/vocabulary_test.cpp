#include "plot/vocabulary.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "base/fatal.hpp"
#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

TEST(PlotTransform, MeasuresFromTheExtremesAndWrapsAt32Bits) {
  const struct {
    std::int32_t minX, maxY, margin, x, y;
    const char* flash;
  } kCases[] = {
      {25400, 101600, 5000, 25400, 101600, "X5000Y5000*D03*"},   // the extremes land on the margin
      {25400, 101600, 0, 76200, 50800, "X50800Y50800*D03*"},
      {254, 0, 0, 0, 254, "X-254Y-254*D03*"},                   // "-", no zeros, no spaces
      {0, 0, 0, 0, 0, "X0Y0*D03*"},
      {-1, 0, 0, INT_MAX, 0, "X-2147483648Y0*D03*"},            // INT_MAX + 1 wraps
      {1, 0, 0, INT_MIN, INT_MIN, "X2147483647Y-2147483648*D03*"},  // INT_MIN - 1 and -INT_MIN
      {INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MIN, "X2147483646Y2147483646*D03*"},
  };
  for (const auto& c : kCases) {
    OutFile file = OutFile::InMemory();
    Flash(file, PlotTransform(c.minX, c.maxY, c.margin)(c.x, c.y));
    EXPECT_EQ(file.Text(), c.flash) << c.minX << " " << c.maxY << " " << c.margin;
  }
}

TEST(Vocabulary, CommandsFollowEachOtherWithoutSeparators) {
  OutFile gerber = OutFile::InMemory();
  Stroke(gerber, {0, 0}, {254, 0});
  Flash(gerber, {508, 0});
  SelectCode(gerber, 12);
  MoveExposeOn(gerber, {1, -1});
  MoveExposeOff(gerber, {1, -1});
  EXPECT_EQ(gerber.Text(), "X0Y0*D01*X254Y0*D02*X508Y0*D03*D12*X1Y-1*D01*X1Y-1*D02*");

  OutFile drill = OutFile::InMemory();
  SelectTool(drill, 1);
  DrillHit(drill, {1000, 2000});
  ChangeTool(drill, 2);
  ThroughHoleHit(drill, {-5, 0});
  EXPECT_EQ(drill.Text(), "T1\r\nX1000Y2000M05\r\nT2*\r\nX-5Y0*M05\r\n");
}

// The text written, or the fatal message.
struct Selection {
  std::string text;
  std::optional<Message> fatal;
};

Selection Select(const CodeList& list, std::int32_t key) {
  const ListIndex index(list);
  OutFile file = OutFile::InMemory();
  try {
    SelectAperture(index, key, file);
  } catch (const FatalStop& stop) {
    return {file.Text(), stop.message};
  }
  return {file.Text(), std::nullopt};
}

TEST(SelectAperture, LastEntryWithTheKeyWinsAndZeroCodesDeferToEarlierEntries) {
  const struct {
    CodeList list;
    std::int32_t key;
    const char* text;
  } kCases[] = {
      {{{5, 11}, {5, 12}}, 5, "D12*"},
      {{{5, 11}, {3, 9}}, 5, "D11*"},
      {{{3, 12}, {5, 0}}, 5, "D12*"},             // whatever the earlier entry's key
      {{{5, 7}, {3, 0}, {5, 0}}, 5, "D7*"},       // through several zero codes
      {{{3, 9}, {5, 4}, {3, 0}, {5, 1}}, 3, "D4*"},
      {{{-4, 2}}, -4, "D2*"},
      {{{5, 0}, {5, 6}}, 5, "D6*"},
  };
  for (const auto& c : kCases) {
    const Selection s = Select(c.list, c.key);
    EXPECT_FALSE(s.fatal) << c.text;
    EXPECT_EQ(s.text, c.text);
  }
}

TEST(SelectAperture, NoKeyOrNoCodeAtOrBeforeItEndsTheRun) {
  const struct {
    CodeList list;
    std::int32_t key;
  } kCases[] = {
      {{}, 5},
      {{{3, 1}, {4, 2}}, 5},
      {{{5, 0}}, 5},
      {{{3, 0}, {5, 0}, {6, 1}}, 5},  // a code after the match does not count
  };
  for (const auto& c : kCases) {
    const Selection s = Select(c.list, c.key);
    EXPECT_EQ(s.fatal, Message::BadApertureSetting) << c.list.size();
    EXPECT_EQ(s.text, "");
  }
}

TEST(SelectAperture, FailureStopsAWholeRun) {
  // The outline needs key 5 and the fills key 3; the standard lists hold both, these do not.
  Board outline = testing::FramedBoard(1, 0);
  outline.AreaTable.Append(testing::OutSegment(1, 1, 2, 2));
  Board fill = testing::FramedBoard(1, 0);
  fill.TopFillTable.Append(testing::OutSegment(1, 1, 2, 2));
  const std::string noKey5 = ">LX\n>LX\n>D0.8 108\n>D0.3 103\n>l1 0.8\n>T8 1\n>d1 0.8\n";
  const std::string noKey3 = ">LX\n>LX\n>D0.8 108\n>D0.5 105\n>l1 0.8\n>T8 1\n>d1 0.8\n";
  for (const auto& [configuration, board] : {std::pair{noKey5, outline}, std::pair{noKey3, fill}}) {
    const testing::Conversion run = testing::EmitBoard(configuration, board);
    EXPECT_EQ(run.fatal, Message::BadApertureSetting);
    EXPECT_EQ(run.out[7], "");
    EXPECT_EQ(run.runLog, "");
  }
}

}  // namespace
}  // namespace velmorta
