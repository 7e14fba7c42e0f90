#include "export/read/gerber_tokens.hpp"

#include <gtest/gtest.h>

#include "export/read/export_error.hpp"
#include "export/read/text_scan.hpp"
#include "test_support/test_support.hpp"

namespace velmorta::fab {
namespace {

using K = GerberTokenKind;

TEST(GerberTokens, ReadsEveryCommandTheConverterWrites) {
  const struct {
    const char* text;
    K kind;
    std::int32_t value, x, y;
    Trailer trailer;
  } kCases[] = {
      {"G71*", K::Millimetres, 0, 0, 0, {}},
      {"G90*", K::Absolute, 0, 0, 0, {}},
      {"D02*", K::ExposureOff, 0, 0, 0, {}},
      {"D14*", K::Select, 14, 0, 0, {}},
      {"D1*", K::Select, 1, 0, 0, {}},  // aperture 1, not the D01 operation
      {"D0*", K::Select, 0, 0, 0, {}},
      {"D-7*", K::Select, -7, 0, 0, {}},
      {"G01", K::Linear, 0, 0, 0, {}},
      {"X1000Y2000*D01*", K::CoordinateOn, 0, 1000, 2000, {}},
      {"X1000Y2540*D02*", K::CoordinateOff, 0, 1000, 2540, {}},
      {"X-254Y0*D03*", K::CoordinateFlash, 0, -254, 0, {}},
      {"X2147483647Y-2147483648*D03*", K::CoordinateFlash, 0, 2147483647, INT32_MIN, {}},
      {"G01X0Y0*M02*", K::Trailer, 0, 0, 0, Trailer::End},
      {"D02*G01X0Y0*M00*", K::Trailer, 0, 0, 0, Trailer::OffStop},
      {"G01X0Y0*M00*", K::Trailer, 0, 0, 0, Trailer::Stop},
  };
  for (const auto& c : kCases) {
    const std::vector<GerberToken> tokens = TokenizeGerber(c.text, "f.gbr");
    ASSERT_EQ(tokens.size(), 1u) << c.text;
    EXPECT_EQ(tokens[0].kind, c.kind) << c.text;
    EXPECT_EQ(tokens[0].value, c.value) << c.text;
    EXPECT_EQ(tokens[0].x, c.x) << c.text;
    EXPECT_EQ(tokens[0].y, c.y) << c.text;
    if (c.kind == K::Trailer) {
      EXPECT_EQ(tokens[0].trailer, c.trailer) << c.text;
    }
  }

  // A whole header, body and trailer: the commands follow each other without separators.
  const std::vector<GerberToken> file =
      TokenizeGerber("G71*G90*D16*D02*G01D14*X1Y2*D01*X3Y4*D02*G01G01X0Y0*M00*", "f.gbr");
  const K kinds[] = {K::Millimetres, K::Absolute, K::Select,        K::ExposureOff, K::Linear,
                     K::Select,      K::CoordinateOn, K::CoordinateOff, K::Linear,      K::Trailer};
  ASSERT_EQ(file.size(), std::size(kinds));
  for (std::size_t i = 0; i < file.size(); ++i) EXPECT_EQ(file[i].kind, kinds[i]) << i;
  EXPECT_EQ(file[5].offset, 19u);
  EXPECT_EQ(file.back().offset, 44u);
}

TEST(GerberTokens, RefusesAnyOtherTextWithItsOffset) {
  const struct {
    const char* text;
    const char* message;
  } kCases[] = {
      {"", nullptr},
      {"D01*", "f.gbr: offset 0: not an aperture selection the converter writes: \"D01*\""},
      {"G71*D03*", "f.gbr: offset 4: not an aperture selection"},
      {"D007*", "offset 0: not an aperture selection"},
      {"D12", "offset 0: not an aperture selection"},
      {"D2147483648*", "offset 0: not an aperture selection"},
      {"D-0*", "offset 0: not an aperture selection"},
      {"G02", "offset 0: not a command the converter writes"},
      {"G71*\r\n", "offset 4: not a command the converter writes: \"\\r\\n\""},
      {"%FSLAX24Y24*%", "offset 0: not a command the converter writes"},
      {"g71*", "offset 0: not a command"},
      {"X1Y2D01*", "offset 0: a coordinate block without *D01*, *D02* or *D03*"},
      {"X1Y2*D04*", "offset 0: a coordinate block without"},
      {"X1*D01*", "offset 0: not a coordinate block the converter writes"},
      {"X01Y2*D01*", "offset 0: not a coordinate block"},
      {"X1Y+2*D01*", "offset 0: not a coordinate block"},
      {"X99999999999Y0*D01*", "offset 0: not a coordinate block"},
      {"G01X0Y0*M00* ", "offset 12: not a command"},
      {"X1Y2*D03*\xff", "offset 9: not a command the converter writes: \"\\xFF\""},
  };
  for (const auto& c : kCases) {
    if (c.message == nullptr) {
      EXPECT_TRUE(TokenizeGerber(c.text, "f.gbr").empty());
      continue;
    }
    try {
      TokenizeGerber(c.text, "f.gbr");
      ADD_FAILURE() << c.text << " was accepted";
    } catch (const ExportError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
}

// A file read a window at a time gives what the whole text gives, and an error far into
// it still names its offset and shows its text.
TEST(GerberTokens, ReadsAFileThroughItsWindowAsAWhole) {
  std::string text = "G71*G90*D16*D02*G01";
  for (int i = 0; i < 3000; ++i) {
    text += "X";
    text += std::to_string(i * 37);
    text += "Y-";
    text += std::to_string(i + 1);
    text += i % 3 ? "*D01*" : "*D03*";
  }
  const std::vector<GerberToken> whole = TokenizeGerber(text + "G01X0Y0*M00*", "f.gbr");
  for (const std::size_t window : {std::size_t{600}, std::size_t{1} << 16}) {
    std::FILE* file = velmorta::testing::OpenTempStream(text + "G01X0Y0*M00*");
    TextScan scan(file, "f.gbr", window);
    std::vector<GerberToken> read;
    for (GerberToken token; NextGerberToken(scan, token);) read.push_back(token);
    std::fclose(file);
    ASSERT_EQ(read.size(), whole.size()) << window;
    for (std::size_t i = 0; i < read.size(); ++i) {
      EXPECT_EQ(read[i].offset, whole[i].offset);
      EXPECT_EQ(read[i].x, whole[i].x);
      EXPECT_EQ(read[i].y, whole[i].y);
    }

    file = velmorta::testing::OpenTempStream(text + "Q12345678901234567890123456789");
    TextScan spoilt(file, "f.gbr", window);
    try {
      for (GerberToken token; NextGerberToken(spoilt, token);) {
      }
      ADD_FAILURE() << "accepted";
    } catch (const ExportError& error) {
      EXPECT_EQ(std::string(error.what()), "f.gbr: offset " + std::to_string(text.size()) +
                                               ": not a command the converter writes: \"Q12345678901234567890123...\"; the file changed after "
                                               "velmorta wrote it: convert the board again");
    }
    std::fclose(file);
  }
}

}  // namespace
}  // namespace velmorta::fab
