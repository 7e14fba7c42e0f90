// Runs the built converter on the bundled example boards and compares every file it
// writes with the checked-in expected files. The converter is copied beside the example
// configuration, so a velmorta.cfg the developer changed in the build does not count.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

namespace fs = std::filesystem;

void ExpectExampleConverts(const std::string& base) {
  testing::TempDir dir;
  fs::create_directory(dir.path() / "out");
  const fs::path examples = fs::path(VELMORTA_SOURCE_DIR) / "examples";
  fs::copy_file(examples / (base + ".pad"), dir.path() / (base + ".pad"));

  const fs::path built = fs::path(VELMORTA_BINARY).make_preferred();
  fs::create_directory(dir.path() / "bin");
  const fs::path binary = dir.path() / "bin" / built.filename();
  fs::copy_file(built, binary);
  fs::copy_file(examples / "velmorta.cfg", dir.path() / "bin" / "velmorta.cfg");
  const std::string command = testing::CommandIn(dir.path(), testing::ShellQuote(binary.string()) + " " + base);
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  const fs::path expected = examples / "expected" / base;
  std::size_t compared = 0;
  for (const auto& entry : fs::directory_iterator(expected)) {
    const std::string name = entry.path().filename().string();
    const fs::path actual = name.ends_with("_.vel") ? dir.path() / name : dir.path() / "out" / name;
    EXPECT_EQ(testing::ReadFile(actual.string()), testing::ReadFile(entry.path().string())) << name;
    ++compared;
  }
  EXPECT_EQ(compared, 8u);  // seven output files and the run log
}

TEST(ExampleBoards, DoubleSidedBoardMatchesExpectedFiles) { ExpectExampleConverts("board"); }

TEST(ExampleBoards, SingleSidedBoardMatchesExpectedFiles) { ExpectExampleConverts("single"); }

}  // namespace
}  // namespace velmorta
