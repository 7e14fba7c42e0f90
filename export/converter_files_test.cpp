// The converter's files are the export's input only: a set name that is one of them is
// refused, and so is any one of them changed since the conversion. Either way the export
// ends with status 1 and writes nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <regex>

#include "export/export_test_support.hpp"

namespace velmorta::fab {
namespace {

using namespace testing;
namespace fs = std::filesystem;

void ExpectRefusedWritingNothing(const TempDir& dir) {
  const auto before = Snapshot(dir);
  const Result result = Export(dir, {dir / "board"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err, "");
  EXPECT_TRUE(Snapshot(dir) == before) << "the export changed the directory";
}

// A name the set is written under is refused; the names a run stages under are its own
// (a number of the run's), so a converter file named like an older run's staging is left
// as it is.
TEST(ConverterFiles, OneNamedOrPlacedAsTheSetIsRefusedAndNoneIsTouched) {
  const struct {
    const char* line;  // of the example configuration
    const char* name;  // what the converter writes in its place; a folder of it is made
    bool refused;
  } kCases[] = {
      {">F7 outline.gbr", "board-fab.zip", true},        {">F1 bottom.gbr", "board-fab", true},
      {">F4 land2.gbr", "board-fab/land2.gbr", true},    {">F2 top.gbr", "board-fab.lock", true},
      {">F6 holes.gbr", "board.kicad_pcb", true},        {">F5 drill.drl", "board-fab.part", false},
      {">F3 land1.gbr", "board-fab.old", false},         {">F4 land2.gbr", "board-fab.part/land2.gbr", false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ASSERT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
    const std::string line = c.line;
    std::string configuration = ReadFile(dir / "velmorta.cfg");
    configuration.replace(configuration.find(line), line.size(), line.substr(0, 4) + c.name);
    WriteFile(dir / "velmorta.cfg", configuration);
    fs::create_directories(fs::path(dir / c.name).parent_path());
    ASSERT_EQ(velmorta::testing::RunInDir(dir, "board").status, 0);
    ASSERT_TRUE(fs::is_regular_file(dir / c.name));
    if (c.refused) {
      ExpectRefusedWritingNothing(dir);
    } else {
      const std::string bytes = ReadFile(dir / c.name);
      EXPECT_EQ(Export(dir, {dir / "board"}).status, 0);
      EXPECT_EQ(ReadFile(dir / c.name), bytes);
    }
  }
}

// Each of the seven alone, after a first set was exported: its bytes change (a
// coordinate moved by a micrometre, so that it still reads) and it is dated after the
// run log.
TEST(ConverterFiles, AnyOneChangedAfterTheConversionIsRefused) {
  for (const char* name : {"bottom.gbr", "top.gbr", "land1.gbr", "land2.gbr", "drill.drl", "holes.gbr", "outline.gbr"}) {
    SCOPED_TRACE(name);
    TempDir dir;
    ASSERT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
    ASSERT_EQ(Export(dir, {dir / "board"}).status, 0);
    std::string bytes = ReadFile(dir / name);
    std::smatch coordinate;
    ASSERT_TRUE(std::regex_search(bytes, coordinate, std::regex("Y[0-9]{3,}")));
    char& digit = bytes[static_cast<std::size_t>(coordinate.position() + coordinate.length() - 1)];
    digit = digit == '0' ? '1' : '0';
    WriteFile(dir / name, bytes);
    fs::last_write_time(dir / name, fs::last_write_time(dir / "board_.vel") + std::chrono::seconds(2));
    ExpectRefusedWritingNothing(dir);
  }
}

}  // namespace
}  // namespace velmorta::fab
