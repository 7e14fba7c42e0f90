// The converter in both languages: the same files and run log, and standard error and
// --help in the language chosen by --lang or given by the system.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "driver/run.hpp"
#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

struct Said {
  int status;
  std::string console, errors;
};

Said Converter(const TempDir& dir, std::vector<const char*> args, Language system = Language::English) {
  args.insert(args.begin(), "velmorta");
  std::ostringstream console, errors;
  const int status = RunDriver(args, dir / "velmorta", console, errors, Speech{system, {}, {}});
  return {status, console.str(), errors.str()};
}

TEST(Languages, HelpErrorsAndWarningsInTheLanguageChosen) {
  TempDir dir;
  ASSERT_EQ(testing::ConvertExample(dir, "board.pad"), 0);
  WriteFile(dir / "velmorta.cfg", ReadFile(dir / "velmorta.cfg") + ">Q unknown\n");
  const std::string board = dir / "board", none = dir / "none";
  const std::string cannotOpen = std::string(Bytes(Message::CannotOpenFile)) + "\n";
  const struct {
    const char* lang;
    const char* base;  // or an option
    int status;
    std::string console, errors;  // their first words; a phrase after "|" follows somewhere
  } kCases[] = {
      {"en", "--help", 0, "Usage: velmorta BASE\nConverts the board", ""},
      {"ja", "--help", 0, "使い方: velmorta BASE\nパッドファイル BASE.pad を", ""},
      {"en", none.c_str(), 1, cannotOpen, "velmorta: cannot open " + none + ".pad: "},
      {"ja", none.c_str(), 1, cannotOpen, "velmorta: " + none + ".pad を開けません: "},
      {"en", board.c_str(), 0, "", "velmorta: warning: " + (dir / "velmorta.cfg") + ": line |: unknown key \"Q\""},
      {"ja", board.c_str(), 0, "", "velmorta: 警告: " + (dir / "velmorta.cfg") + ": |行目 \">Q unknown\": 不明なキー"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.lang) + " " + c.base);
    const Said said = Converter(dir, {"--lang", c.lang, c.base});
    EXPECT_EQ(said.status, c.status);
    EXPECT_TRUE(said.console.starts_with(c.console)) << said.console;
    const std::size_t bar = c.errors.find('|');
    EXPECT_TRUE(said.errors.starts_with(c.errors.substr(0, bar))) << said.errors;
    if (bar != std::string::npos) {
      EXPECT_NE(said.errors.find(c.errors.substr(bar + 1)), std::string::npos) << said.errors;
    }
    if (c.base == board) {
      EXPECT_EQ(ReadFile(board + "_.vel"), testing::SuccessRunLog());
    }
  }
}

TEST(Languages, TheOptionOverridesTheSystemAndTakesOnlyJaOrEn) {
  TempDir dir;
  EXPECT_TRUE(Converter(dir, {"--help"}, Language::Japanese).console.starts_with("使い方: "));
  EXPECT_TRUE(Converter(dir, {"--lang", "en", "-h"}, Language::Japanese).console.starts_with("Usage: "));
  for (const std::vector<const char*>& bad : {std::vector<const char*>{"--lang", "fr", "b"}, {"--lang"}}) {
    const Said said = Converter(dir, bad);
    EXPECT_EQ(said.status, 1);
    EXPECT_TRUE(said.errors.starts_with("velmorta: --lang takes ja or en, not ")) << said.errors;
    EXPECT_FALSE(std::filesystem::exists(dir / "b_.vel"));
  }
}

}  // namespace
}  // namespace velmorta
