// velmorta-export in both languages: --help, a board with findings, a failure and a
// warning, in Japanese when --lang or the system asks for it and in English otherwise;
// the files for the board house the same bytes in both.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "base/text_encoding.hpp"
#include "export/export_run.hpp"
#include "export/export_test_support.hpp"

namespace velmorta::fab {
namespace {

using namespace testing;

Result ExportIn(const TempDir& dir, Language system, std::vector<std::string> args) {
  std::vector<const char*> argv = {"velmorta-export"};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  std::ostringstream out, err;
  const int status = RunExport(argv, dir / "velmorta-export", out, err, Speech{system, {}, {}});
  return {status, out.str(), err.str()};
}

TEST(ExportLanguages, HelpFindingsFailuresAndWarningsInTheLanguageChosen) {
  TempDir dir, padless;
  ASSERT_EQ(ConvertExampleBoard(dir, "single.pad"), 0);
  ASSERT_EQ(ConvertExampleBoard(padless, "single.pad"), 0);
  std::filesystem::remove(padless / "board.pad");
  const std::string board = dir / "board", noConfig = dir / "none.cfg";
  const struct {
    const char* how;  // "--lang ja", "system ja" or "C"
    std::vector<std::string> args;
    const TempDir* in;
    int status;
    std::string out, err;  // a phrase each holds
  } kCases[] = {
      {"C", {"--help"}, &dir, 0, "usage: velmorta-export [--config PATH]", ""},
      {"C", {board}, &dir, 0, "board check: 1 error, 1 warning\n", ""},
      {"C", {"--config", noConfig, board}, &dir, 1, "", "velmorta-export: cannot read the configuration file " + noConfig},
      {"C", {padless / "board"}, &padless, 0, "wrote ", "velmorta-export: warning: there is no "},
      {"C", {"--lang", "fr", board}, &dir, 1, "", "velmorta-export: --lang takes ja or en, not \"fr\"\nusage: "},
      {"--lang ja", {"--help"}, &dir, 0, "使い方: velmorta-export", ""},
      {"--lang ja", {board}, &dir, 0, "基板チェック: エラー 1 件、警告 1 件\n", ""},
      {"system ja", {"--config", noConfig, board}, &dir, 1, "", "velmorta-export: 設定ファイル " + noConfig + " を読めません"},
      {"system ja", {padless / "board"}, &padless, 0, "書き込みました ", "velmorta-export: 警告: "},
  };
  std::string archive;
  for (const auto& c : kCases) {
    std::vector<std::string> args = c.args;
    if (c.how == std::string("--lang ja")) args.insert(args.begin(), {"--lang", "ja"});
    SCOPED_TRACE(std::string(c.how) + " " + args.back());
    const Result said = ExportIn(*c.in, c.how == std::string("system ja") ? Language::Japanese : Language::English, args);
    EXPECT_EQ(said.status, c.status) << said.err;
    EXPECT_NE(said.out.find(c.out), std::string::npos) << said.out;
    EXPECT_NE(said.err.find(c.err), std::string::npos) << said.err;
    EXPECT_TRUE(IsValidUtf8(said.out) && IsValidUtf8(said.err));
    if (c.in != &dir || said.status != 0 || args.back() != board) continue;
    // The labels follow the language; what the house builds from does not.
    const std::string preview = ReadFile(dir / "board-fab/board-preview.svg");
    EXPECT_EQ(preview.find("トップ面（上から見た図）") != std::string::npos, c.how != std::string("C"));
    if (archive.empty()) archive = ReadFile(dir / "board-fab.zip");
    EXPECT_EQ(ReadFile(dir / "board-fab.zip"), archive);
  }
}

}  // namespace
}  // namespace velmorta::fab
