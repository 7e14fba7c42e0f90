#include "export/set_paths.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "base/files.hpp"
#include "export/export_test_support.hpp"

namespace velmorta::fab {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// The configuration's line `from` made `to`, and the board converted again with it.
void Reconvert(const TempDir& dir, const std::string& from, const std::string& to) {
  std::string configuration = ReadFile(dir / "velmorta.cfg");
  configuration.replace(configuration.find(from), from.size(), to);
  WriteFile(dir / "velmorta.cfg", configuration);
  ASSERT_EQ(velmorta::testing::RunInDir(dir, "board").status, 0);
}

// A file the export reads, by any spelling or link, where the set goes: refused before
// anything is written (not even the lock), both named, and what to do said.
TEST(SetPaths, RefusesAConverterFileWhereTheSetGoes) {
  const std::string renameFirst = ", which the export would replace: give output file 1 another name (its \">F1\" line in "
                                  "@/velmorta.cfg), then convert and export again\n";
  const struct {
    const char* what;
    std::function<void(const TempDir&)> arrange;
    std::string message;  // "@": the directory; "{g}": it as the output directory, separator included
  } kCases[] = {
      {"the archive by another spelling", [](const TempDir& d) { Reconvert(d, ">F1 bottom.gbr", ">F1 ./board-fab.zip"); },
       "{g}board-fab.zip is output file 1 {g}./board-fab.zip" + renameFirst},
      {"a file in the set's folder",
       [](const TempDir& d) {
         fs::create_directory(d / "board-fab");
         Reconvert(d, ">F1 bottom.gbr", ">F1 board-fab/bottom.gbr");
       },
       "output file 1 {g}board-fab/bottom.gbr lies in {g}board-fab, the set's folder, which the export replaces: give "
       "output file 1 another name"},
      {"the lock", [](const TempDir& d) { Reconvert(d, ">F7 outline.gbr", ">F7 board-fab.lock"); },
       "{g}board-fab.lock is output file 7 {g}board-fab.lock, which the export would replace: give output file 7"},
      {"the journal", [](const TempDir& d) { Reconvert(d, ">F6 holes.gbr", ">F6 board-fab.journal"); },
       "{g}board-fab.journal is output file 6 {g}board-fab.journal"},
      {"a link to the run log", [](const TempDir& d) { fs::create_hard_link(d / "board_.vel", d / "board-fab.zip"); },
       "{g}board-fab.zip is the run log @/board_.vel, which the export would replace: choose another output folder "
       "(the \">g\" line in @/velmorta.cfg) or keep the board elsewhere, then convert and export again\n"},
      {"the configuration in the set's folder",
       [](const TempDir& d) {
         fs::create_directory(d / "board-fab");
         fs::create_hard_link(d / "velmorta.cfg", d / "board-fab/settings.cfg");
       },
       "the configuration file @/velmorta.cfg lies in {g}board-fab, the set's folder"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    ASSERT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
    c.arrange(dir);
    const auto before = Snapshot(dir);
    const Result result = Export(dir, {dir / "board"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    std::string message = "velmorta-export: " + c.message;
    for (std::size_t at; (at = message.find("{g}")) != std::string::npos;) {
      message.replace(at, 3, dir.path().string() + kDirectorySeparator);
    }
    for (std::size_t at; (at = message.find('@')) != std::string::npos;) message.replace(at, 1, dir.path().string());
    EXPECT_TRUE(result.err.starts_with(message)) << result.err;
    EXPECT_EQ(Snapshot(dir), before);
  }
}

}  // namespace
}  // namespace velmorta::fab
