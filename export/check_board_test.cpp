#include "export/check_board.hpp"

#include <gtest/gtest.h>

#include "export/export_test_support.hpp"

namespace velmorta::fab {
namespace {

using namespace testing;

// Kind, layer and sources of each finding in the report, one line each.
std::string Found(const std::string& csv) {
  std::string found;
  for (std::size_t start = csv.find('\n') + 1, end; (end = csv.find("\r\n", start)) != std::string::npos; start = end + 2) {
    std::vector<std::string> fields;
    for (std::size_t at = start, comma; at <= end; at = comma + 1) {
      comma = std::min(csv.find(',', at), end);
      fields.push_back(csv.substr(at, comma - at));
    }
    found += fields[1] + " " + fields[2] + " " + fields[10] + " " + fields[11] + "\n";
  }
  return found;
}

// The single-sided example under each mapping of its files: the check reads the copper
// on the side the mapping puts it, and a top that is copper plates the holes on lands,
// which then lack a land on the top. A limit given on the command line overrides the
// limits file, and a distance equal to its limit passes.
TEST(CheckBoard, FollowsTheMappingOfTheConvertersFiles) {
  const std::string both = "hole_spacing drill drill.drl:1 drill.drl:2\n";
  const struct {
    const char* settings;
    std::vector<std::string> args;  // before the board; "@" stands for the directory
    std::string found;
  } kCases[] = {
      {"", {}, both + "lands_touch bottom land1.gbr:1 land1.gbr:2\n"},
      {">E first-side top\n", {}, both + "lands_touch top land1.gbr:1 land1.gbr:2\n"},
      {">E single-sided-top omit\n", {}, both + "lands_touch bottom land1.gbr:1 land1.gbr:2\n"},
      {">E single-sided-top copper\n", {},
       "no_land top drill.drl:3 \nno_land top drill.drl:4 \nno_land top drill.drl:1 \nno_land top drill.drl:2 \n" + both +
           "lands_touch bottom land1.gbr:1 land1.gbr:2\n"},
      {"", {"--limits", "@/house.lim", "--limit", "hole_spacing=0.47"}, "lands_touch bottom land1.gbr:1 land1.gbr:2\n"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.settings);
    TempDir dir;
    ASSERT_EQ(ConvertPad(dir, "board", ReadFile(VELMORTA_SOURCE_DIR "/examples/single.pad"), c.settings), 0);
    WriteFile(dir / "house.lim", "hole_spacing 0.6\n");
    std::vector<std::string> args;
    for (const std::string& arg : c.args) args.push_back(arg[0] == '@' ? dir.path().string() + arg.substr(1) : arg);
    args.push_back(dir / "board");
    ASSERT_EQ(Export(dir, args).status, 0);
    EXPECT_EQ(Found(ReadFile(dir / "board-fab/board-check.csv")), c.found);
  }
}

}  // namespace
}  // namespace velmorta::fab
