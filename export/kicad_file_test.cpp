// The board for KiCad as the export run writes it: the bytes of the example boards'
// files, with and without the check; beside the set, replaced by the next export, kept
// once another program has saved it, left out by --no-kicad or when the pad file is not
// the converted board; a land whose sides differ is two pads.

#include <gtest/gtest.h>

#include "base/files.hpp"
#include "export/export_test_support.hpp"
#include "export/write/kicad_board.hpp"

namespace velmorta::fab {
namespace {

using namespace testing;

TEST(KicadFile, TheExampleBoardsFilesWithAndWithoutTheCheck) {
  for (const char* name : {"board", "single"}) {
    const std::string expected = ReadFile(VELMORTA_SOURCE_DIR "/examples/expected/kicad/" + std::string(name) + ".kicad_pcb");
    for (const bool checked : {true, false}) {
      SCOPED_TRACE(std::string(name) + (checked ? "" : " --no-check"));
      TempDir dir;
      ASSERT_EQ(ConvertExampleBoard(dir, name + std::string(".pad")), 0);
      std::vector<std::string> args = {dir / "board"};
      if (!checked) args.insert(args.begin(), "--no-check");
      ASSERT_EQ(Export(dir, args).status, 0);
      EXPECT_EQ(ReadFile(dir / "board.kicad_pcb"), expected);
    }
  }
}

TEST(KicadFile, WrittenBesideTheSetUnlessKeptOrLeftOut) {
  const std::string saved = "(kicad_pcb (version 20211014) (generator pcbnew)\n)\n";
  struct Case {
    const char* name;
    std::function<void(const TempDir&)> before;  // after a first export
    std::vector<std::string> options;
    std::string kept;     // the file's bytes afterwards, when not the export's own
    std::string warning;  // on standard error
  };
  const Case cases[] = {
      {"exported again", [](const TempDir&) {}, {}, "", ""},
      {"saved by KiCad", [&](const TempDir& dir) { WriteFile(dir / "board.kicad_pcb", saved); }, {}, saved,
       "velmorta-export: warning: board.kicad_pcb is not written: the one there was saved since the last export (by "
       "KiCad, perhaps) and is kept; move it away to have a new one written\n"},
      {"no pad file", [](const TempDir& dir) { std::filesystem::remove(dir / "board.pad"); }, {}, "-",
       "board.pad to take the parts from\n"},
      {"--no-kicad", [](const TempDir&) {}, {"--no-kicad"}, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ASSERT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
    ASSERT_EQ(Export(dir, {dir / "board"}).status, 0);
    const std::string first = ReadFile(dir / "board.kicad_pcb");
    EXPECT_TRUE(first.starts_with(kKicadBoardStart));
    c.before(dir);
    std::vector<std::string> args = c.options;
    args.push_back(dir / "board");
    const Result result = Export(dir, args);
    EXPECT_EQ(result.status, 0);
    // The end of standard error: without the pad file the export warns of that first.
    if (c.warning.empty()) EXPECT_EQ(result.err, "");
    else EXPECT_TRUE(result.err.ends_with(c.warning)) << result.err;
    const bool written = c.kept.empty() && c.options.empty();
    EXPECT_EQ(result.out.find("board.kicad_pcb") != std::string::npos, written) << result.out;
    EXPECT_EQ(ReadFile(dir / "board.kicad_pcb"), c.kept == saved ? saved : first);
    EXPECT_FALSE(std::filesystem::exists(dir / "board.kicad_pcb.part"));
  }
}

TEST(KicadFile, ALandOfTwoSizesIsTwoPadsOfOneNumber) {
  TempDir dir;
  std::string pad = ReadFile(VELMORTA_SOURCE_DIR "/examples/board.pad");
  pad.replace(pad.find("\"J1,PWR\",CONN,270,130,10,9"), 26, "\"J1,PWR\",CONN,270,130,5,8");
  ASSERT_EQ(ConvertPad(dir, "board", pad), 0);
  ASSERT_EQ(Export(dir, {dir / "board"}).status, 0);
  const std::string board = ReadFile(dir / "board.kicad_pcb");
  EXPECT_NE(board.find("(pad \"1\" thru_hole circle (at 0 0) (size 1.64 1.64) (drill 1.2) (layers \"*.Cu\" \"*.Mask\")"),
            std::string::npos) << board;
  EXPECT_NE(board.find("(pad \"1\" smd circle (at 0 0) (size 2.24 2.24) (layers \"F.Cu\" \"F.Mask\")"),
            std::string::npos) << board;
  // The through-hole at (210,150): a via of its smaller land, the larger a dot on the top.
  EXPECT_NE(board.find("(via (at 53.34 38.1) (size 1.64) (drill 0.8)"), std::string::npos);
  EXPECT_NE(board.find("(segment (start 53.34 38.1) (end 53.34 38.1) (width 2.24) (layer \"F.Cu\")"), std::string::npos);
}

}  // namespace
}  // namespace velmorta::fab
