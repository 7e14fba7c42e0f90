#include "emit/emit_layers.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "config/config_reader.hpp"
#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

using testing::OutLand;
using testing::OutLine;

TEST(EmitLayers, OutlineStrokesEachWithItsOwnSelection) {
  const std::string configuration = testing::EmissionConfig("LX", "L0", ">D0.5 11\n");  // key 5: code 11 last
  const std::string kOne = "D11*G01X0Y50800*D01*X50800Y0*D02*";
  const struct {
    const char* pad;
    std::string outline;
  } kCases[] = {
      {"*** Area 100,200,300,400", "G71*G90*D02*" + kOne + "G01X0Y0*M02*"},
      // Both extremes first reached by a part: the margin widens by 5080.
      {"*** Parts \"p\",o,100,400,1,1 *** Area 100,200,300,400",
       "G71*G90*D02*D11*G01X5080Y55880*D01*X55880Y5080*D02*G01X0Y0*M02*"},
      {"*** Parts \"p\",o,100,0,1,1 *** Area 100,200,300,400", "G71*G90*D02*" + kOne + "G01X0Y0*M02*"},
      {"*** Parts \"p\",o,1000,400,1,1 *** Area 100,200,300,400", "G71*G90*D02*" + kOne + "G01X0Y0*M02*"},
      {"*** Area 100,200,300,400 300,400,100,200",
       "G71*G90*D02*" + kOne + "D11*G01X50800Y0*D01*X0Y50800*D02*G01X0Y0*M02*"},
      {"*** Area", "G71*G90*D02*G01X0Y0*M02*"},
      {"*** Area 0,10,5,10 100,200,300,400", "G71*G90*D02*G01X0Y0*M02*"},
      {"*** Pitch 1", "G01X0Y0*M02*"},
  };
  for (const auto& c : kCases) {
    const testing::Conversion run = testing::Convert(configuration, c.pad);
    EXPECT_FALSE(run.fatal) << c.pad;
    EXPECT_EQ(run.out[7], c.outline) << c.pad;
  }
}

TEST(EmitLayers, EveryFileGetsItsTrailerOnceEvenWhenEmpty) {
  const testing::Conversion run =
      testing::Convert(testing::EmissionConfig("LX"), "*** Pitch 1 *** Type 0 *** Parts *** Area");
  ASSERT_FALSE(run.fatal);
  EXPECT_EQ(run.out[1], "G71*G90*D112*D02*G01G01X0Y0*M00*");
  EXPECT_EQ(run.out[2], "G71*G90*D112*D02*G01D108*G01X0Y0*M00*");  // fixed top line aperture
  EXPECT_EQ(run.out[3], "G71*G90*D02*D0*D02*G01D02*G01X0Y0*M00*");
  EXPECT_EQ(run.out[4], "G71*G90*D02*D0*D02*G01D02*G01X0Y0*M00*");  // single-sided: the trailer only
  EXPECT_EQ(run.out[5], "G90\r\nX0Y0\r\nT0\r\nT1\r\nM02\r\n");
  EXPECT_EQ(run.out[6], "G71*G90*D02*D0*D02*G01D1*D02*G01X0Y0*M00*");
  EXPECT_EQ(run.out[7], "G71*G90*D02*G01X0Y0*M02*");
  // The run log's first line is the driver's.
  EXPECT_EQ("*** Message\r\n" + run.runLog, testing::SuccessRunLog());
}

TEST(EmitLayers, AFatalStopLeavesWhatWasWrittenWithoutTrailers) {
  // Line apertures of keys 3, 5, 6, 8 with codes 10, 11, 0, 13 and no key 7 for the fixed
  // top line aperture: the run stops in the middle of the emission.
  const testing::TempDir dir;
  testing::WriteFile(dir / "velmorta.cfg",
                     ">F1 b.gbr\n>F2 t.gbr\n>F3 l1.gbr\n>F4 l2.gbr\n>F5 d.drl\n>F6 h.gbr\n>F7 o.gbr\n>p2\n>g " +
                         dir.path().string() +
                         "\n>L1\n>L3\n>D0.3 10\n>D0.5 11\n>D0.6 0\n>D0.8 13\n>R1.64 21\n>r1 1.64\n>T8 1\n>d1 0.8\n"
                         ">l1 0.7\n>l2 0.5\n");
  testing::WriteFile(dir / "b.pad", "*** Pitch 1 *** Type 0 *** Area 100,200,300,400 *** Parts \"p\",o,200,300,1,1"
                                    " *** TopLine 200,300,300,300,1 *** BottomLine 200,300,300,300,1");
  const testing::RunResult result = testing::RunInDir(dir, "b");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.console, "");
  EXPECT_EQ(testing::ReadFile(dir / "b_.vel"), testing::FatalRunLog(Message::BadLineWidthDefault));
  const struct {
    const char* name;
    const char* text;
  } kFiles[] = {
      {"b.gbr", "G71*G90*D0*D02*G01"},
      {"t.gbr", "G71*G90*D0*D02*G01"},
      {"l1.gbr", "G71*G90*D02*D0*D02*G01D21*X25400Y25400*D03*"},
      {"l2.gbr", "G71*G90*D02*D0*D02*G01"},
      {"d.drl", "G90\r\nX0Y0\r\nT0\r\nT1\r\nX25400Y25400M05\r\n"},
      {"h.gbr", "G71*G90*D02*D0*D02*G01D1*X25400Y25400*D03*"},
      {"o.gbr", "G71*G90*D02*D11*G01X0Y50800*D01*X50800Y0*D02*"},
  };
  for (const auto& f : kFiles) EXPECT_EQ(testing::ReadFile(dir / f.name), f.text) << f.name;
}

std::string Strokes(const std::vector<Line>& lines, const std::vector<const char*>& selections) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& l = lines[i];
    text.append(selections[i]).append("X").append(std::to_string(l.x1)).append("Y");
    text.append(std::to_string(10000 - l.y1)).append("*D01*X").append(std::to_string(l.x2)).append("Y");
    text.append(std::to_string(10000 - l.y2)).append("*D02*");
  }
  return text;
}

TEST(EmitLayers, L2SelectsByWidthWhenTheCodeChanges) {
  std::vector<Line> lines;
  for (const std::int32_t width : {0, 0, 4, 4, 5, 20}) {
    const std::int32_t y = static_cast<std::int32_t>(100 * (lines.size() + 1));
    lines.push_back(OutLine(100, y, 200, y, width));
  }
  const std::vector<const char*> kSelections = {"", "", "D104*", "", "D104*", ""};
  Board board = testing::FramedBoard(2, 1);
  for (const Line& l : lines) {
    board.BottomLineTable.Append(l);
    board.TopLineTable.Append(l);
  }
  const testing::Conversion run = testing::EmitBoard(testing::EmissionConfig("L2"), board);
  EXPECT_EQ(run.out[1], Strokes(lines, kSelections) + "G01X0Y0*M00*");
  EXPECT_EQ(run.out[2], Strokes(lines, kSelections) + "G01X0Y0*M00*");

  // Width -1 first: the classes of the two sides differ only at 0 and below.
  Board negative = testing::FramedBoard(2, 1);
  negative.BottomLineTable.Append(OutLine(1, 2, 3, 4, -1));
  negative.TopLineTable.Append(OutLine(1, 2, 3, 4, -1));
  const testing::Conversion widths = testing::EmitBoard(testing::EmissionConfig("L2"), negative);
  EXPECT_EQ(widths.out[1], "D104*X1Y2*D01*X3Y4*D02*G01X0Y0*M00*");
  EXPECT_EQ(widths.out[2], "D103*X1Y2*D01*X3Y4*D02*G01X0Y0*M00*");
}

TEST(EmitLayers, ModesAreWholeCaseSensitiveTexts) {
  Board board = testing::FramedBoard(1, 1);
  board.PartsTable.Append(OutLand(100, 100, 9, 9));
  board.ThruHoleTable.Append(OutLand(200, 200, 3, 3));
  board.TopLineTable.Append(OutLine(100, 100, 200, 200, 12));
  board.BottomLineTable.Append(OutLine(100, 100, 200, 200, 12));
  const testing::Conversion other = testing::EmitBoard(testing::EmissionConfig("LX", "LX"), board);
  ASSERT_FALSE(other.fatal);
  EXPECT_EQ(other.out[1], "X100Y100*D01*X200Y200*D02*G01X0Y0*M00*");
  for (const char* mode : {"l1", "l2", "L2 ", "L"}) {
    Settings settings = ParseConfiguration(testing::EmissionConfig("LX", "L3"));
    settings.ModeTokens = {mode, "l3"};
    const testing::Conversion run = testing::EmitBoard(settings, board);
    EXPECT_EQ(run.out, other.out) << mode;
  }
}

}  // namespace
}  // namespace velmorta
