#include "emit/lands_holes.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

using testing::OutHole;
using testing::OutLand;

Board WithLands(int pitch, int type, const std::vector<Land>& parts, const std::vector<Hole>& holes = {},
                const std::vector<Land>& thru = {}) {
  Board board = testing::FramedBoard(pitch, type);
  for (const Land& p : parts) board.PartsTable.Append(p);
  for (const Hole& h : holes) board.HoleTable.Append(h);
  for (const Land& t : thru) board.ThruHoleTable.Append(t);
  return board;
}

constexpr const char* kLandTrailer = "D02*G01X0Y0*M00*";

TEST(LandsAndHoles, PartLandsThroughHolesAndHolesWithTheirTools) {
  using Files = std::vector<std::pair<int, std::string>>;
  const std::string T = kLandTrailer;
  const struct {
    const char* name;
    const char* mode;
    const char* tools;
    Board board;
    std::optional<Message> fatal;
    Files files;
  } kCases[] = {
      {"a part land without a hole", "LX", ">T8 1\n", WithLands(1, 0, {OutLand(1000, 2000)}), {},
       {{5, "T1\r\nX1000Y2000M05\r\nM02\r\n"}, {6, "D1*X1000Y2000*D03*" + T}, {3, "X1000Y2000*D03*" + T}}},
      {"a hole at the land: drawn and drilled with the holes, in their tool", "LX", ">T7 2\n>T8 1\n>d1 0.7\n",
       WithLands(1, 0, {OutLand(1000, 2000)}, {OutHole(1000, 2000, 80)}), {},
       {{5, "T2\r\nT1*\r\nX1000Y2000M05\r\nM02\r\n"}, {6, "D2*D1*X1000Y2000*D03*" + T}, {3, "X1000Y2000*D03*" + T}}},
      {"holes one unit away: drilled twice", "LX", ">T7 2\n>T8 1\n>d1 0.7\n",
       WithLands(1, 0, {OutLand(1000, 2000), OutLand(3000, 4000)}, {OutHole(1001, 2000, 80), OutHole(3000, 4001, 80)}),
       {},
       {{5, "T2\r\nX1000Y2000M05\r\nX3000Y4000M05\r\nT1*\r\nX1001Y2000M05\r\nX3000Y4001M05\r\nM02\r\n"},
        {6, "D2*X1000Y2000*D03*X3000Y4000*D03*D1*X1001Y2000*D03*X3000Y4001*D03*" + T}}},
      {"diameters 80, 80, 100", "LX", ">T8 1\n>T10 2\n",
       WithLands(1, 0, {}, {OutHole(100, 100, 80), OutHole(200, 100, 80), OutHole(300, 100, 100)}), {},
       {{5, "T1\r\nT1*\r\nX100Y100M05\r\nX200Y100M05\r\nT2*\r\nX300Y100M05\r\nM02\r\n"},
        {6, "D1*D1*X100Y100*D03*X200Y100*D03*D2*X300Y100*D03*" + T}}},
      {"two tools of one size: later first, the earliest stays", "LX", ">T8 3\n>T8 4\n",
       WithLands(1, 0, {}, {OutHole(100, 100, 80)}), {},
       {{5, "T4\r\nT4*\r\nT3*\r\nX100Y100M05\r\nM02\r\n"}, {6, "D4*D4*D3*X100Y100*D03*" + T}}},
      {"zero codes defer; the scan goes on before the entry written", "LX", ">T8 3\n>T7 6\n>T8 0\n>T8 0\n>d1 0.7\n",
       WithLands(1, 0, {}, {OutHole(100, 100, 80)}), {}, {{5, "T6\r\nT6*\r\nT3*\r\nX100Y100M05\r\nM02\r\n"}}},
      {"a size without a tool keeps the tool in force", "LX", ">T8 1\n>T10 2\n",
       WithLands(1, 0, {}, {OutHole(100, 100, 100), OutHole(200, 100, 90), OutHole(300, 100, 100)}), {},
       {{5, "T1\r\nT2*\r\nX100Y100M05\r\nX200Y100M05\r\nT2*\r\nX300Y100M05\r\nM02\r\n"}}},
      {"the only tool of the size is the first, without a code", "LX", ">T8 0\n>T9 5\n>d1 0.9\n",
       WithLands(1, 0, {OutLand(1000, 2000)}, {OutHole(100, 100, 80)}), Message::BadHoleDefault,
       {{5, "T5\r\nX1000Y2000M05\r\n"}, {6, "D5*X1000Y2000*D03*"}}},
      {"L2: both sides by their codes, with change detection", "L2", ">T8 1\n",
       WithLands(2, 1, {OutLand(100, 100, 0, 6), OutLand(200, 100, 3, 6), OutLand(300, 100, 8, 20),
                        OutLand(400, 100, 8, 3)}),
       {},
       {{3, "X100Y100*D03*D21*X200Y100*D03*D23*X300Y100*D03*X400Y100*D03*" + T},
        {4, "D22*X100Y100*D03*X200Y100*D03*X300Y100*D03*D21*X400Y100*D03*" + T},
        {5, "T1\r\nX100Y100M05\r\nX200Y100M05\r\nX300Y100M05\r\nX400Y100M05\r\nM02\r\n"}}},
      {"L2: two selections before every through-hole", "L2", ">T8 1\n",
       WithLands(2, 1, {}, {}, {OutLand(100, 100, 6, 8), OutLand(200, 100, 6, 8), OutLand(300, 100, 16, 3)}), {},
       {{3, "D22*X100Y100*D03*D22*X200Y100*D03*X300Y100*D03*" + T},
        {4, "D23*X100Y100*D03*D23*X200Y100*D03*D21*X300Y100*D03*" + T},
        {5, "T1\r\nX100Y100*M05\r\nX200Y100*M05\r\nX300Y100*M05\r\nM02\r\n"},
        {6, "D1*X100Y100*D03*X200Y100*D03*X300Y100*D03*" + T}}},
      {"L1, double-sided: the fixed land aperture on both land files", "L1", ">T8 1\n",
       WithLands(1, 1, {OutLand(100, 100, 9, 9)}, {}, {OutLand(200, 100, 9, 9)}), {},
       {{3, "D21*X100Y100*D03*X200Y100*D03*" + T}, {4, "D21*X100Y100*D03*X200Y100*D03*" + T}}},
      {"single-sided: no second side, no through-holes", "L2", ">T8 1\n",
       WithLands(2, 0, {OutLand(100, 100, 6, 6)}, {}, {OutLand(200, 100, 6, 6)}), {},
       {{3, "D22*X100Y100*D03*" + T}, {4, T}, {5, "T1\r\nX100Y100M05\r\nM02\r\n"}, {6, "D1*X100Y100*D03*" + T}}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const testing::Conversion run = testing::EmitBoard(testing::EmissionConfig(c.mode, "L0", "", c.tools), c.board);
    EXPECT_EQ(run.fatal, c.fatal);
    for (const auto& [n, text] : c.files) EXPECT_EQ(run.out[static_cast<std::size_t>(n)], text) << "file " << n;
  }
}

TEST(LandsAndHoles, HolesAreHiddenWhenTheToolOfEntry18HasNoCode) {
  // Hole records carry the code of tool entry 18; with fewer tools it is 0 and ends the table.
  const char* const kPad = "*** Pitch 1 *** Parts \"p\",o,10,10,1,1 *** Hole 10,10,8";
  const testing::Conversion hidden = testing::Convert(testing::EmissionConfig("LX"), kPad);
  EXPECT_EQ(hidden.out[5], "G90\r\nX0Y0\r\nT0\r\nT1\r\nX5080Y5080M05\r\nM02\r\n");

  std::string tools = ">T8 1\n";
  for (int n = 2; n <= 18; ++n) tools += ">T" + std::to_string(100 + n) + " " + std::to_string(n) + "\n";
  const testing::Conversion visible = testing::Convert(testing::EmissionConfig("LX", "L0", "", tools), kPad);
  EXPECT_EQ(visible.out[5], "G90\r\nX0Y0\r\nT9\r\nT1\r\nT1*\r\nX5080Y5080M05\r\nM02\r\n");
}

}  // namespace
}  // namespace velmorta
