// Runs the built converter on the bundled example boards and compares every file it
// writes with the checked-in expected files.

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

  const std::string binary = fs::path(VELMORTA_BINARY).make_preferred().string();
  const std::string command = testing::CommandIn(dir.path(), testing::ShellQuote(binary) + " " + base);
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
