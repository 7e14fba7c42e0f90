#include "config/config_reader.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <limits>
#include <string>
#include <vector>

#include "base/text_encoding.hpp"
#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

using namespace std::string_literals;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

#ifdef _WIN32
const std::string kSep = "\\";
#else
const std::string kSep = "/";
#endif

using Getter = std::function<std::int32_t(const Settings&)>;
const Getter kMargin = [](const Settings& s) { return s.Margin; };
const Getter kJ1 = [](const Settings& s) { return s.AuxLandLength.first; };
const Getter kJ2 = [](const Settings& s) { return s.AuxLandLength.second; };
const Getter kH1 = [](const Settings& s) { return s.AuxLandSize.first; };
const Getter kH2 = [](const Settings& s) { return s.AuxLandSize.second; };
const Getter kL1 = [](const Settings& s) { return s.LineWidthDefault.first; };
const Getter kL2 = [](const Settings& s) { return s.LineWidthDefault.second; };
const Getter kR1 = [](const Settings& s) { return s.FixedLandDefault.first; };
const Getter kR2 = [](const Settings& s) { return s.FixedLandDefault.second; };
const Getter kD1 = [](const Settings& s) { return s.DrillDefault.first; };
const Getter kD2 = [](const Settings& s) { return s.DrillDefault.second; };

TEST(ConfigReader, ScalarAndPairKeys) {
  const struct {
    std::string text;
    Getter get;
    std::int32_t value;
  } kCases[] = {
      {">Z 5\n", kMargin, 5000},        {">Z5\n", kMargin, 0},           {">Z 5", kMargin, 5000},
      {">Z 5 mm\n", kMargin, 5000},     {">Z 1.005\n", kMargin, 1004},   {">Z 1e3\n", kMargin, 1000000},
      {">Z 2147483.647\n", kMargin, 2147483647}, {">Z 3000000\n", kMargin, kMax},
      {">Z -3000000\n", kMargin, kMin}, {">Z 1\n>Z 2\n", kMargin, 2000}, {">z 5\n", kMargin, 0},
      {">j1 0.5\n", kJ1, 500},          {">j1  0.5\n", kJ1, 0},          {">j1 0.5 mm\n", kJ1, 500},
      {">j2 0.4\n", kJ2, 400},          {">j2 0.4\n", kJ1, 0},           {">j3 0.5\n", kJ1, 0},
      {">j3 0.5\n", kJ2, 0},            {">j1 0.5\n>j1 0.7\n", kJ1, 700},
      {">h1  1.2\n", kH1, 12},          {">h1 1.2 mm\n", kH1, 12},       {">h11.2\n", kH1, 2},
      {">h2 0.8\n", kH2, 8},            {">hX 0.8\n", kH2, 0},
      {">l2 1.0\n", kL2, 10},           {">l3 1.0\n", kL1, 0},           {">l3 1.0\n", kL2, 0},
      {">l1  0.8\n", kL1, 8},           {">l1 0.8\n>l1\t0.8\n", kL1, 0}, {">lx 0.8\n", kL1, 0},
      {">l1x 0.8\n", kL1, 8},           {">r1 1.64\n", kR1, 164},        {">r2 0.29\n", kR2, 29},
      {">d1 0.8\n", kD1, 80},           {">d2 0.85\n", kD2, 85},         {">d2 0.85\n", kD1, 0},
      {">d1 3e7\n", kD1, kMax},         {">r1 -3e7\n", kR1, kMin},
      // Column 0 must be ">"; keys are case-sensitive.
      {" >Z 5\n", kMargin, 0},          {"#>Z 5\n", kMargin, 0},        {">\n>Z 5\n", kMargin, 5000},
  };
  for (const auto& c : kCases) EXPECT_EQ(c.get(ParseConfiguration(c.text)), c.value) << c.text;
}

TEST(ConfigReader, ListKeys) {
  using List = const CodeList& (*)(const Settings&);
  const List kLine = [](const Settings& s) -> const CodeList& { return s.LineApertureList; };
  const List kLand = [](const Settings& s) -> const CodeList& { return s.LandApertureList; };
  const List kTool = [](const Settings& s) -> const CodeList& { return s.ToolList; };
  const struct {
    std::string text;
    List list;
    std::vector<std::pair<std::int32_t, std::int32_t>> entries;
  } kCases[] = {
      {">D0.8 10\n", kLine, {{8, 10}}},
      {">R1.64 21\n", kLand, {{164, 21}}},
      {">T8 3\n", kTool, {{80, 3}}},
      {">T0.85 7\n", kTool, {{8, 7}}},
      {">D-0.5 3\n", kLine, {{-4, 3}}},
      {">D0.8  10\n", kLine, {{8, 10}}},
      {">D0.8 10 x\n", kLine, {{8, 10}}},
      {">D0.8\n", kLine, {{8, 0}}},
      {">D 10\n", kLine, {{0, 10}}},
      {">D0.8 2147483647\n>D0.8 2147483648\n>D0.8 -2147483649\n", kLine,
       {{8, kMax}, {8, kMax}, {8, kMin}}},
      {">D300000000 1\n>R-1e30 1\n", kLine, {{kMax, 1}}},
      {">D300000000 1\n>R-1e30 1\n", kLand, {{kMin, 1}}},
      {">D0.3 1\n>R2.00 5\n>D0.4 2\n>d1 0.8\n>D0.3 3\n", kLine, {{3, 1}, {4, 2}, {3, 3}}},
      {">D0.3 1\n>R2.00 5\n>D0.4 2\n", kLand, {{200, 5}}},
      {" >D0.8 10\n#>D0.8 10\n>d0.8 10\n", kLine, {}},
  };
  for (const auto& c : kCases) {
    const Settings s = ParseConfiguration(c.text);
    std::vector<std::pair<std::int32_t, std::int32_t>> got;
    for (const ListEntry& e : c.list(s)) got.emplace_back(e.key, e.code);
    EXPECT_EQ(got, c.entries) << c.text;
  }
}

TEST(ConfigReader, TextKeys) {
  const struct {
    std::string text;
    std::vector<std::string> modes, names;
    std::string directory;
  } kCases[] = {
      {">L1 single\n", {"L1"}, {}, ""},
      {">LX\n>L2\n>L3 aux\r\n>L9", {"LX", "L2", "L3", "L9"}, {}, ""},
      {">F1 bottom.gbr\n>F2 my file.gbr\n>F3\n>F4 last", {}, {"bottom.gbr", "my", "", "last"}, ""},
      {">F1 a\n>F2 b\n>F3 c\n>F4 d\n>F5 e\n>F6 f\n>F7 g\n>F8 h\n>F9 i\n", {},
       {"a", "b", "c", "d", "e", "f", "g", "h", "i"}, ""},
      {">g out\n", {}, {}, ""},
      {">p2\n>g out dir\n", {}, {}, "out dir" + kSep},
      {">p2\r\n>g out dir\r\n", {}, {}, "out dir" + kSep},
      {">p2\n>g out dir", {}, {}, "out dir" + kSep},
      {">p2\n>g  lead\n", {}, {}, " lead" + kSep},
      {">p2\n>p1\n>g out\n", {}, {}, ""},
      {">p2\n>g a\n>p1\n>g b\n", {}, {}, "a" + kSep},
      {">p2\n>g a\n>g b\n", {}, {}, "b" + kSep},
      {">p2\n>g a\n>g\n", {}, {}, ""},
      {">p2\n>g a\n>g \n", {}, {}, ""},
      {">p3\n>g a\n", {}, {}, ""},
      // A NUL ends the line's text as the reader sees it.
      {">F1 ab\0cd\n>L1\0x\n"s, {"L1"}, {"ab"}, ""},
  };
  for (const auto& c : kCases) {
    const Settings s = ParseConfiguration(c.text);
    EXPECT_EQ(s.ModeTokens, c.modes) << c.text;
    EXPECT_EQ(s.OutputFileNames, c.names) << c.text;
    EXPECT_EQ(s.OutputDirectory, c.directory) << c.text;
  }
  EXPECT_EQ(ParseConfiguration(">L2\n>L3\n").ApertureModeToken(), "L2");
  EXPECT_EQ(ParseConfiguration(">L2\n>L3\n").AuxLandModeToken(), "L3");
  EXPECT_EQ(ParseConfiguration(">L2\n").AuxLandModeToken(), "");
  EXPECT_EQ(ParseConfiguration(">L1\n").Apertures(), ApertureMode::Fixed);
  EXPECT_EQ(ParseConfiguration(">l2\n").Apertures(), ApertureMode::Neither);
  EXPECT_TRUE(ParseConfiguration(">L2\n>L3\n").AuxLands());
  EXPECT_EQ(ParseConfiguration(">D0.8\0 10\n"s).LineApertureList.at(0).code, 0);
}

// Names saved by an editor in UTF-8 where the system reads another code page: used as
// their bytes say, and the user hears which lines to save otherwise.
TEST(ConfigReader, WarnsOfNamesInUtf8WhereTheSystemReadsAnotherCodePage) {
  std::ostringstream errors;
  Diagnostics diagnostics(&errors, "b.pad", "v.cfg");
  const std::string text = ">F1 \xE7\x89\x87.gbr\n>F2 b.gbr\n>p2\n>g \xE5\x87\xBA\n";
  const Settings s = ParseConfiguration(text, diagnostics);
  EXPECT_EQ(s.OutputFileNames.at(0), "\xE7\x89\x87.gbr");
  EXPECT_EQ(s.OutputDirectory, "\xE5\x87\xBA" + kSep);
  const std::string warned = SystemCodePageIsUtf8()
                                 ? ""
                                 : "velmorta: warning: v.cfg: line 1: the name \"\\xe7\\x89\\x87.gbr\" is saved in "
                                   "UTF-8, which this system does not read; the files get garbled names: save the "
                                   "configuration file as Shift-JIS (ANSI)\n";
  EXPECT_TRUE(errors.str().starts_with(warned)) << errors.str();
  EXPECT_EQ(errors.str().find("v.cfg: line 4: the name \"\\xe5\\x87\\xba\"") != std::string::npos, !warned.empty())
      << errors.str();
}

TEST(ConfigReader, LongLinesSplitAt255Characters) {
  const std::string hashes254(254, '#'), hashes255(255, '#');
  const struct {
    std::string text;
    std::int32_t margin;
    std::string directory;
  } kCases[] = {
      // The rest of a split line counts only when it begins with ">".
      {hashes255 + ">Z 7\n", 7000, ""},
      {hashes255 + ">Z 7\r\n", 7000, ""},
      {hashes254 + ">Z 7\n", 0, ""},
      {">Z 3" + std::string(251, ' ') + ">Z 9\n", 9000, ""},
      // The directory ends with the 255-character piece; the rest is not a ">" line.
      {">p2\n>g " + std::string(252, 'a') + "bbbb\n", 0, std::string(252, 'a') + kSep},
      {">p2\r\n>g " + std::string(252, 'a') + "bbbb\r\n", 0, std::string(252, 'a') + kSep},
      // A CR LF pair is one character, so a 254-character line still ends in one piece.
      {">p2\r\n>g " + std::string(251, 'd') + "\r\n>Z 1\r\n", 1000, std::string(251, 'd') + kSep},
      {">p2\n>g " + std::string(251, 'd') + "\n>Z 1\n", 1000, std::string(251, 'd') + kSep},
  };
  for (const auto& c : kCases) {
    const Settings s = ParseConfiguration(c.text);
    EXPECT_EQ(s.Margin, c.margin) << c.text;
    EXPECT_EQ(s.OutputDirectory, c.directory) << c.text;
  }
}

TEST(ConfigReader, NoSettingLinesLeaveEverythingEmpty) {
  const Settings s = ParseConfiguration("# comment\n\n D0.8 10\r\nZ 5\n>\n>?x\n");
  EXPECT_TRUE(s.ModeTokens.empty() && s.OutputFileNames.empty() && s.OutputDirectory.empty());
  EXPECT_TRUE(s.LineApertureList.empty() && s.LandApertureList.empty() && s.ToolList.empty());
  EXPECT_EQ(s.Margin, 0);
}

TEST(ConfigReader, ReadsAWholeFile) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += ">T" + std::to_string(i) + " " + std::to_string(i) + "\r\n";
  std::FILE* file = testing::OpenTempStream(text);
  Diagnostics quiet;
  const Settings s = ReadConfiguration(file, quiet);
  std::fclose(file);
  ASSERT_EQ(s.ToolList.size(), 5000u);
  EXPECT_EQ(s.ToolList[4999].key, 49990);
  EXPECT_EQ(s.ToolList[4999].code, 4999);
}

}  // namespace
}  // namespace velmorta
