#include "board/pad_reader.hpp"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "board/token_reader.hpp"
#include "config/config_reader.hpp"
#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// Line entry n has code 10 + n, land entry n 20 + n, tool entry n 100 + n.
std::string Config(int lines = 7, int lands = 4, int tools = 18) {
  std::string text;
  for (int n = 1; n <= lines; ++n) text += ">D0." + std::to_string(n) + " " + std::to_string(10 + n) + "\n";
  for (int n = 1; n <= lands; ++n) text += ">R1." + std::to_string(n) + " " + std::to_string(20 + n) + "\n";
  for (int n = 1; n <= tools; ++n) text += ">T" + std::to_string(n) + " " + std::to_string(100 + n) + "\n";
  return text;
}

struct PadRead {
  Board board;
  std::array<std::string, 8> out;  // index 1 to 7
};

PadRead Read(const std::string& pad, const std::string& configuration = Config()) {
  const Settings settings = ParseConfiguration(configuration);
  OutputSet out = OutputSet::InMemory();
  std::FILE* file = testing::OpenTempStream(pad);
  Diagnostics quiet;
  PadRead result{ReadPadFile(file, settings, out, quiet), {}};
  std::fclose(file);
  for (int n = 1; n <= 7; ++n) result.out[static_cast<std::size_t>(n)] = out[static_cast<Output>(n)].Text();
  return result;
}

using Row = std::vector<std::int32_t>;
Row Fields(const Segment& r) { return {r.x1, r.y1, r.x2, r.y2}; }
Row Fields(const Line& r) { return {r.x1, r.y1, r.x2, r.y2, r.width}; }
Row Fields(const Land& r) { return {r.x, r.y, r.land1, r.land2}; }
Row Fields(const Hole& r) { return {r.tool, r.x, r.y, r.diameter}; }

struct Rows {
  std::vector<Row> stored;
  std::size_t visible = 0;
};
template <class Record>
Rows Of(const Table<Record>& table) {
  Rows rows{{}, table.Visible().size()};
  for (const Record& r : table.Stored()) rows.stored.push_back(Fields(r));
  return rows;
}

enum class Which { Area, Parts, ThruHole, Hole, BottomLine, BottomFill, TopLine, TopFill };
Rows TableRows(const Board& b, Which which) {
  switch (which) {
    case Which::Area: return Of(b.AreaTable);
    case Which::Parts: return Of(b.PartsTable);
    case Which::ThruHole: return Of(b.ThruHoleTable);
    case Which::Hole: return Of(b.HoleTable);
    case Which::BottomLine: return Of(b.BottomLineTable);
    case Which::BottomFill: return Of(b.BottomFillTable);
    case Which::TopLine: return Of(b.TopLineTable);
    case Which::TopFill: return Of(b.TopFillTable);
  }
  return {};
}

const char kOutline[] = "G71*G90*D02*";

TEST(PadReader, TokensAndSections) {
  const Row r1 = {254, 254, 254, 254}, r2 = {508, 508, 508, 508}, r3 = {762, 762, 762, 762};
  const struct {
    std::string pad;
    std::vector<Row> area;
    int outlineHeaders;
  } kCases[] = {
      {"***\tArea\n1,1,1,1\r\n2,2,2,2\v3,3,3,3\f1,1,1,1 \t 2,2,2,2\r\n", {r1, r2, r3, r1, r2}, 1},
      {"1,1,1,1 Area *** Area 2,2,2,2", {r2}, 1},
      {"*** Areas 1,1,1,1", {}, 0},
      {"*** area 1,1,1,1", {}, 0},
      {"***Area 1,1,1,1", {}, 0},
      {"*** Area 1,1,1,1 *** Foo 2,2,2,2 *** Hole 3,3,3", {r1}, 1},
      {"*** Area 1,1,1,1 ***", {r1}, 1},
      {"*** Area 1,1,1,1 ***\n", {r1}, 1},
      // The token after "***" is always the name, even "***" itself.
      {"*** *** Area 1,1,1,1", {}, 0},
      {"*** Area 1,1,1,1 *** *** Area 2,2,2,2", {r1}, 1},
      // A repeated section appends and writes its header again.
      {"*** Area 1,1,1,1 2,2,2,2 *** TopLine 5,5,5,5,1 *** Area 3,3,3,3", {r1, r2, r3}, 2},
      {"*** TopLine 5,5,5,5,1 *** Pitch 2 *** Area 1,1,1,1", {r1}, 1},
      {"", {}, 0},
      {"***", {}, 0},
  };
  for (const auto& c : kCases) {
    const PadRead r = Read(c.pad);
    EXPECT_EQ(TableRows(r.board, Which::Area).stored, c.area) << c.pad;
    std::string outline;
    for (int i = 0; i < c.outlineHeaders; ++i) outline += kOutline;
    EXPECT_EQ(r.out[7], outline) << c.pad;
  }
  const PadRead parts = Read("*** Parts \"a\",o,1,1,1,1 *** Area 1,1,1,1 *** Parts \"b\",o,2,2,2,2");
  EXPECT_EQ(TableRows(parts.board, Which::Parts).stored, (std::vector<Row>{{254, 254, 1, 1}, {508, 508, 2, 2}}));
}

TEST(PadReader, HeadersOfTheSevenFiles) {
  const std::string line11 = "G71*G90*D11*D02*G01", line17 = "G71*G90*D17*D02*G01";
  const std::string land24 = "G71*G90*D02*D24*D02*G01";
  const std::string drill109 = "G90\r\nX0Y0\r\nT109\r\n", holes109 = "G71*G90*D02*D109*D02*G01";
  const struct {
    std::string pad, configuration;
    int pitchMode;
    std::array<std::string, 7> out;
  } kCases[] = {
      {"*** Pitch 2", Config(), 2, {line11, line11, land24, land24, "", "", ""}},
      {"*** Pitch 1", Config(), 1, {line17, line17, land24, land24, "", "", ""}},
      {"*** Pitch 1 2", Config(), 2,
       {line17 + line11, line17 + line11, land24 + land24, land24 + land24, "", "", ""}},
      {"*** Pitch 3", Config(), 0, {"", "", "", "", "", "", ""}},
      {"*** Pitch 01 +2 3 1 x", Config(), 1, {line17, line17, land24, land24, "", "", ""}},
      {"*** pitch 2", Config(), 0, {"", "", "", "", "", "", ""}},
      {"*** Parts", Config(), 0, {"", "", "", "", drill109, holes109, ""}},
      {"*** Area", Config(), 0, {"", "", "", "", "", "", kOutline}},
      {"*** Area *** Parts *** Pitch 2", Config(), 2,
       {line11, line11, land24, land24, drill109, holes109, kOutline}},
      {"*** Parts *** Parts", Config(), 0, {"", "", "", "", drill109 + drill109, holes109 + holes109, ""}},
      // Entries the configuration lacks give code 0.
      {"*** Pitch 1 *** Parts", Config(6, 3, 8), 1,
       {"G71*G90*D0*D02*G01", "G71*G90*D0*D02*G01", "G71*G90*D02*D0*D02*G01",
        "G71*G90*D02*D0*D02*G01", "G90\r\nX0Y0\r\nT0\r\n", "G71*G90*D02*D0*D02*G01", ""}},
      {"*** Pitch 2", Config(6, 3, 8), 2,
       {line11, line11, "G71*G90*D02*D0*D02*G01", "G71*G90*D02*D0*D02*G01", "", "", ""}},
  };
  for (const auto& c : kCases) {
    const PadRead r = Read(c.pad, c.configuration);
    EXPECT_EQ(PitchDigit(r.board.PitchMode), c.pitchMode) << c.pad;
    for (std::size_t n = 1; n <= 7; ++n) EXPECT_EQ(r.out[n], c.out[n - 1]) << c.pad << " file " << n;
  }
  const struct {
    const char* pad;
    int boardType;
  } kTypes[] = {{"*** Type 1", 1}, {"*** Type 2", 0}, {"*** Type 1 0", 0}, {"*** Type 1 x 01 2", 1},
                {"*** type 1", 0}};
  for (const auto& [pad, boardType] : kTypes) EXPECT_EQ(Read(pad).board.DoubleSided(), boardType == 1) << pad;
}

TEST(PadReader, Fields) {
  const std::string sjisName = testing::ToShiftJis("抵抗ソ表,ﾃｽﾄ");
  const struct {
    std::string pad;
    Which which;
    Row stored;
  } kCases[] = {
      {"*** Area 12.7,-3,7.9,abc", Which::Area, {3048, -762, 1778, 0}},
      {"*** Area -,+2,,4", Which::Area, {0, 508, 0, 1016}},
      {"*** Area 100,200,300,400", Which::Area, {25400, 50800, 76200, 101600}},
      {"*** Area 5", Which::Area, {1270, 0, 0, 0}},
      {"*** Area 1,2", Which::Area, {254, 508, 0, 0}},
      {"*** Area 1,2,3,4,5", Which::Area, {254, 508, 762, 1016}},
      {"*** Area " + std::string(300, '0') + "7,1,1,1", Which::Area, {1778, 254, 254, 254}},
      // Leading integers saturate; the products wrap as 32-bit arithmetic.
      {"*** Area 2147483647,8454661,99999999999,-99999999999", Which::Area, {-254, -2147483402, -254, 0}},
      {"*** Area 8454660,-8454660,1,1", Which::Area, {2147483640, -2147483640, 254, 254}},
      {"*** Hole 10,20,8", Which::Hole, {118, 2540, 5080, 80}},
      {"*** Hole 1,2,8.5", Which::Hole, {118, 254, 508, 80}},
      {"*** Hole 1,2", Which::Hole, {118, 254, 508, 0}},
      {"*** Hole 1,1,214748365", Which::Hole, {118, 254, 254, -2147483646}},
      {"*** Hole 1,1,2147483647", Which::Hole, {118, 254, 254, -10}},
      {"*** ThruHole 1,2,3,4", Which::ThruHole, {254, 508, 3, 4}},
      {"*** ThruHole 1,2,3", Which::ThruHole, {254, 508, 3, 0}},
      {"*** ThruHole 1,2,3,4,5", Which::ThruHole, {254, 508, 3, 4}},
      {"*** ThruHole 1,2,99999999999,-99999999999", Which::ThruHole, {254, 508, kMax, kMin}},
      {"*** Parts \"R1\",SOP,10,20,1,2", Which::Parts, {2540, 5080, 1, 2}},
      {"*** Parts \"R1,a,b\",SOP,10,20,1,2", Which::Parts, {2540, 5080, 1, 2}},
      {"*** Parts x\"R1\"tail,SOP,10,20,1,2", Which::Parts, {2540, 5080, 1, 2}},
      {"*** Parts \"" + sjisName + "\",SOP,10,20,1,2", Which::Parts, {2540, 5080, 1, 2}},
      {"*** Parts \"" + std::string(300, 'N') + "\",SOP,10,20,1,2", Which::Parts, {2540, 5080, 1, 2}},
      {"*** Parts \"\",,10,20,1,2", Which::Parts, {2540, 5080, 1, 2}},
      {"*** Parts \"R1\",SOP,10", Which::Parts, {2540, 0, 0, 0}},
      {"*** Parts 1,2,3,4,5,6", Which::Parts, {0, 0, 0, 0}},
      {"*** BottomLine 1,2,3,4,5", Which::BottomLine, {254, 508, 762, 1016, 5}},
      {"*** BottomLine 1,2,3,4", Which::BottomLine, {254, 508, 762, 1016, 0}},
      {"*** BottomLine 1,2,3,4,5,9", Which::BottomLine, {254, 508, 762, 1016, 5}},
      {"*** TopLine 1,2,3,4,12.7", Which::TopLine, {254, 508, 762, 1016, 12}},
      {"*** BottomFill 1,2,3,4,rest,more", Which::BottomFill, {254, 508, 762, 1016}},
      {"*** BottomFill 1,2,3,4x", Which::BottomFill, {254, 508, 762, 1016}},
      {"*** TopFill 1,2,3,4", Which::TopFill, {254, 508, 762, 1016}},
      {"*** TopFill 1,2,3", Which::TopFill, {254, 508, 762, 0}},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(TableRows(Read(c.pad).board, c.which).stored, std::vector<Row>{c.stored}) << c.pad;
  }
}

TEST(PadReader, FirstFieldZeroHidesTheRestOfItsTable) {
  const struct {
    std::string pad, configuration;
    Which which;
    std::size_t visible, stored;
  } kCases[] = {
      {"*** Area 0,10,5,10 1,1,1,1", Config(), Which::Area, 0, 2},
      {"*** Area 1,1,1,1 -0,1,1,1 2,2,2,2", Config(), Which::Area, 1, 3},
      {"*** Area 0,1,1,1 *** Area 2,2,2,2", Config(), Which::Area, 0, 2},
      {"*** Parts \"a\",o,1,1,1,1 \"b\",o,0,1,1,1 \"c\",o,2,2,2,2", Config(), Which::Parts, 1, 3},
      {"*** ThruHole 1,1,1,1 abc,1,1,1 2,2,2,2", Config(), Which::ThruHole, 1, 3},
      {"*** Hole 1,1,8 2,2,8", Config(), Which::Hole, 2, 2},
      {"*** Hole 1,1,8 2,2,8", Config(7, 4, 17), Which::Hole, 0, 2},  // no tool entry 18
      {"*** BottomLine 1,1,1,1,1 ,1,1,1,1", Config(), Which::BottomLine, 1, 2},
      {"*** TopLine 0,1,1,1,1 2,2,2,2,2", Config(), Which::TopLine, 0, 2},
      {"*** BottomFill 3,3,3,3 0,0,0,0 4,4,4,4", Config(), Which::BottomFill, 1, 3},
      {"*** TopFill 3,3,3,3 4,4,4,4", Config(), Which::TopFill, 2, 2},
  };
  for (const auto& c : kCases) {
    const Rows rows = TableRows(Read(c.pad, c.configuration).board, c.which);
    EXPECT_EQ(rows.visible, c.visible) << c.pad;
    EXPECT_EQ(rows.stored.size(), c.stored) << c.pad;
  }
}

TEST(PadReader, Extents) {
  constexpr ExtentSource kFromOutline = ExtentSource::Outline;
  constexpr ExtentSource kFromOther = ExtentSource::OtherSection;
  const struct {
    std::string pad;
    std::int32_t minX;
    ExtentSource minXSource;
    std::int32_t maxY;
    ExtentSource maxYSource;
  } kCases[] = {
      {"", 300000, kFromOutline, 0, kFromOutline},
      {"*** Pitch 2 *** Type 1", 300000, kFromOutline, 0, kFromOutline},
      {"*** Parts \"a\",o,100,10,1,1 \"b\",o,50,20,1,1", 12700, kFromOther, 5080, kFromOther},
      {"*** TopLine 1182,1,1200,2,1", 300000, kFromOutline, 508, kFromOther},
      {"*** TopLine 1181,1,1200,2,1", 299974, kFromOther, 508, kFromOther},
      {"*** Area 1182,-1,1190,-5", 300000, kFromOutline, 0, kFromOutline},
      {"*** BottomLine -5,-1,-3,-9,1", -1270, kFromOther, 0, kFromOutline},
      {"*** TopFill 20,1,10,2", 2540, kFromOther, 508, kFromOther},
      // Ties keep the source of the first record that reached the extreme.
      {"*** Area 10,20,30,40 *** TopLine 10,40,20,40,1", 2540, kFromOutline, 10160, kFromOutline},
      {"*** TopLine 10,40,20,40,1 *** Area 10,20,30,40", 2540, kFromOther, 10160, kFromOther},
      {"*** Area 10,10,50,10 50,10,50,40 *** Parts \"p\",o,10,40,1,1 *** Hole 10,40,8", 2540, kFromOutline, 10160,
       kFromOutline},
      {"*** Area 10,10,50,40 *** Hole 5,45,8", 1270, kFromOther, 11430, kFromOther},
      {"*** Area 10,10,50,40 *** ThruHole 5,20,1,1 *** BottomFill 20,45,30,45", 1270, kFromOther, 11430, kFromOther},
      {"*** Area 10,10,50,40 *** TopLine 5,20,6,20,1", 1270, kFromOther, 10160, kFromOutline},
      // Hidden records still count.
      {"*** Area 0,10,5,10 2,99,2,99", 0, kFromOutline, 25146, kFromOutline},
      {"*** Hole 3,4,8", 762, kFromOther, 1016, kFromOther},
      {"*** TopLine 8454661,1,8454661,1,1", -2147483402, kFromOther, 254, kFromOther},
  };
  for (const auto& c : kCases) {
    const Board b = Read(c.pad, Config(7, 4, 17)).board;
    EXPECT_EQ(b.MinX, c.minX) << c.pad;
    EXPECT_EQ(b.MinXSource, c.minXSource) << c.pad;
    EXPECT_EQ(b.MaxY, c.maxY) << c.pad;
    EXPECT_EQ(b.MaxYSource, c.maxYSource) << c.pad;
    // The extents alone: the same values, no record kept.
    std::FILE* file = testing::OpenTempStream(c.pad + " *** Pitch 1 *** Type 1");
    Diagnostics quiet;
    const Board e = ReadPadExtents(file, ParseConfiguration(Config(7, 4, 17)), quiet);
    std::fclose(file);
    EXPECT_EQ(std::tuple(e.MinX, e.MinXSource, e.MaxY, e.MaxYSource, e.PitchMode, e.BoardType),
              std::tuple(c.minX, c.minXSource, c.maxY, c.maxYSource, PitchMode::One, BoardType::DoubleSided)) << c.pad;
    EXPECT_TRUE(e.AreaTable.Stored().empty() && e.HoleTable.Stored().empty() && e.TopLineTable.Stored().empty());
  }
}

TEST(TokenReader, TokensCrossingTheBufferBoundary) {
  const std::string longToken(1000, 'L');
  const std::string text = "ab cdefghij \t\r\n k\v\f" + longToken + "  lmnopqrstu\n\n";
  const std::vector<std::string> expected = {"ab", "cdefghij", "k", longToken, "lmnopqrstu"};
  for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{3},
                                 std::size_t{5}, std::size_t{8}, std::size_t{11}, std::size_t{1} << 20}) {
    std::FILE* file = testing::OpenTempStream(text);
    TokenReader tokens(file, size);
    std::vector<std::string> got;
    for (std::string_view token; tokens.Next(token);) got.emplace_back(token);
    std::fclose(file);
    EXPECT_EQ(got, expected) << "buffer " << size;
  }
  std::FILE* blank = testing::OpenTempStream(" \n\t ");
  TokenReader tokens(blank, 2);
  std::string_view token;
  EXPECT_FALSE(tokens.Next(token));
  std::fclose(blank);
}

TEST(PadReader, ReadsPastTheFirstBufferFill) {
  std::string pad = "*** TopLine";
  constexpr int kRecords = 150000;  // more than one read buffer of text
  for (int i = 1; i <= kRecords; ++i) {
    pad += ' ';
    pad += std::to_string(i);
    pad += ",1,2,3,4";
  }
  pad += " *** Area 7,7,7,7";
  const PadRead r = Read(pad);
  const auto lines = r.board.TopLineTable.Visible();
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kRecords));
  for (int i = 0; i < kRecords; ++i) {
    ASSERT_EQ(lines[static_cast<std::size_t>(i)].x1, (i + 1) * 254) << i;
  }
  EXPECT_EQ(r.board.AreaTable.Visible().size(), 1u);
  EXPECT_EQ(r.out[7], kOutline);
}

}  // namespace
}  // namespace velmorta
