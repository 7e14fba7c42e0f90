#include "export/model/aperture_sizes.hpp"

#include <gtest/gtest.h>

#include "config/config_reader.hpp"
#include "export/model/decimal.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

const char kLists[] =
    ">D0.3 10\n>D0.4 0\n>D0.8 14\n>D0.8 14\n>D0.5 12\n>D0.6 12\n>D-0.5 13\n"
    ">R1.64 20\n>R2.24 22\n"
    ">T8 3\n>T30 17\n>T10 0\n"
    ">D0.85 15\n>T8.04 4\n>R1.0005 23\n>D100 16\n>D1e999 18\n>T1000.01 5\n>R0.0004 24\n>D0.8 19\n>D0.84 19\n";

// Sizes come from the list of the code's file, as its line writes them, each list in
// its own unit; the key (what the converter selects by) is kept beside.
TEST(ApertureSizes, MapsEachFilesCodesThroughItsList) {
  const Settings settings = ParseConfiguration(kLists);
  const struct {
    Output file;
    std::int32_t code;
    std::int32_t key;
    const char* millimetres;
  } kCases[] = {
      {Output::BottomCopper, 10, 3, "0.300"},  // line keys are tenths of a millimetre
      {Output::TopCopper, 14, 8, "0.800"},     // the same entry twice is one size
      {Output::Outline, 10, 3, "0.300"},
      {Output::Lands1, 20, 164, "1.640"},      // land keys are hundredths
      {Output::Lands2, 22, 224, "2.240"},
      {Output::HoleDrawing, 3, 80, "0.800"},   // a ">T" size 8 is the 0.8 mm drill
      {Output::Drill, 17, 300, "3.000"},
      {Output::TopCopper, 15, 8, "0.850"},     // not the key's 0.8
      {Output::Drill, 4, 80, "0.804"},         // ">T" sizes are in 0.1 mm
      {Output::Lands1, 23, 100, "1.001"},      // to the nearest micrometre
      {Output::Outline, 16, 1000, "100.000"},  // the largest
  };
  for (const auto& c : kCases) {
    const CodeSize size = SizeOfCode(settings, ListOf(c.file), c.code, "f.gbr");
    EXPECT_EQ(size.key, c.key) << static_cast<int>(c.file) << " D" << c.code;
    EXPECT_EQ(FormatDecimal(size.micrometres, 3), c.millimetres) << static_cast<int>(c.file) << " D" << c.code;
  }
}

TEST(ApertureSizes, RefusesCodesWithoutOneKnownSize) {
  Diagnostics quiet(nullptr, "b.pad", "c.cfg");
  const Settings settings = ParseConfiguration(kLists, quiet);
  const struct {
    SizeList list;
    std::int32_t code;
    const char* reason;
  } kCases[] = {
      {SizeList::Line, 42, "c.cfg: >D code 42 (out/top.gbr draws with it): no >D line carries this code"},
      {SizeList::Line, 20, ">D code 20 (out/top.gbr draws with it): no >D line"},  // a land code is no line code
      {SizeList::Line, 0, ">D code 0 (out/top.gbr draws with it): no >D line"},    // ">D0.4 0" has no number
      {SizeList::Line, 12, "c.cfg: >D code 12 (out/top.gbr draws with it): lines of different sizes (line 5 0.500 mm, "
                           "line 6 0.600 mm) carry this code"},
      {SizeList::Line, 19, "(line 20 0.800 mm, line 21 0.840 mm)"},  // one key, two sizes
      {SizeList::Line, 13, "c.cfg: line 7: the size of >D code 13 (out/top.gbr draws with it) is not a positive number"},
      {SizeList::Line, 18, "c.cfg: line 17: the size of >D code 18"},
      {SizeList::Tool, 5, "c.cfg: line 18: the size of >T code 5 (out/top.gbr draws with it) is not a positive number "
                          "of millimetres up to 100 (>T sizes are in 0.1 mm)"},
      {SizeList::Land, 24, "line 19: the size of >R code 24"},  // 0.4 micrometres
      {SizeList::Tool, 14, ">T code 14 (out/top.gbr draws with it): no >T line carries this code"},
  };
  for (const auto& c : kCases) {
    try {
      SizeOfCode(settings, c.list, c.code, "out/top.gbr");
      ADD_FAILURE() << "code " << c.code << " was accepted";
    } catch (const ExportError& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    }
  }
}

// Numbers a reader would take for something else (D1 to D9 are operations) move to the
// lowest free number; the others stay.
TEST(ApertureSizes, RenumbersCodesOutsideTheRange) {
  const CodeList list = {{1, 12}, {2, 3}, {3, 0}, {4, -5}, {5, 1}, {6, 10}, {7, 20000}, {8, 3}, {9, 11}};
  const Renumbering apertures(list, kLowestAperture, kHighestAperture, "aperture");
  const std::pair<std::int32_t, std::int32_t> kApertures[] = {
      {10, 10}, {11, 11}, {12, 12}, {-5, 13}, {1, 14}, {3, 15}, {20000, 16}};
  for (const auto& [code, number] : kApertures) EXPECT_EQ(apertures(code), number) << code;

  const Renumbering tools(list, kLowestTool, kHighestTool, "drill tool");
  const std::pair<std::int32_t, std::int32_t> kTools[] = {{1, 1}, {3, 3}, {12, 12}, {-5, 2}, {20000, 4}};
  for (const auto& [code, number] : kTools) EXPECT_EQ(tools(code), number) << code;

  CodeList crowded;
  for (std::int32_t code = 100; code < 200; ++code) crowded.push_back({80, code});
  EXPECT_THROW(Renumbering(crowded, kLowestTool, kHighestTool, "drill tool"), ExportError);
}

}  // namespace
}  // namespace velmorta::fab
