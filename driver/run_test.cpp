#include "driver/run.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <sstream>
#include <vector>

#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

namespace fs = std::filesystem;
using testing::FatalRunLog;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

const std::array<std::string, 7> kNames = {"bottom.gbr", "top.gbr",   "land1.gbr",  "land2.gbr",
                                           "drill.drl",  "holes.gbr", "outline.gbr"};

std::string Example(const char* name) {
  return ReadFile(std::string(VELMORTA_SOURCE_DIR) + "/examples/" + name);
}

// The example configuration with its own ">F" lines replaced by `names` and the output
// directory moved to `outDir`.
std::string Configuration(const std::string& outDir, const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t n = 0; n < names.size(); ++n) {
    text += ">F" + std::to_string(n + 1) + " " + names[n] + "\n";
  }
  std::istringstream example(Example("velmorta.cfg"));
  for (std::string line; std::getline(example, line);) {
    if (line.rfind(">F", 0) != 0) text += line + "\n";
  }
  return text + ">p2\n>g " + outDir + "\n";
}

// A directory prepared for base name "b": configuration, pad file, empty output folder.
struct RunDir {
  TempDir dir;
  std::string out = dir / "out";
  RunDir(bool configuration = true, bool pad = true) {
    fs::create_directory(out);
    if (configuration) WriteFile(dir / "velmorta.cfg", Configuration(out, {kNames.begin(), kNames.end()}));
    if (pad) WriteFile(dir / "b.pad", Example("board.pad"));
  }
  std::vector<std::string> Entries(const std::string& path) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

std::string ConsoleLine(Message message) { return std::string(Bytes(message)) + "\n"; }

TEST(Run, InputThatCannotBeOpenedStopsWithAConsoleMessage) {
  const struct {
    const char* what;
    bool configuration, pad;
    std::function<void(RunDir&)> extra;
    const char* executable;
    Message message;
  } kCases[] = {
      {"missing pad file", true, false, nullptr, "velmorta", Message::CannotOpenFile},
      {"pad file is a directory", true, false, [](RunDir& s) { fs::create_directory(s.dir / "b.pad"); },
       "velmorta", Message::CannotOpenFile},
      {"missing configuration", false, true, nullptr, "velmorta", Message::NoConfigurationFile},
      {"both inputs missing", false, false, nullptr, "velmorta", Message::CannotOpenFile},
      {"configuration of another name", true, true, nullptr, "conv.exe", Message::NoConfigurationFile},
      {"configuration is a directory", false, true,
       [](RunDir& s) { fs::create_directory(s.dir / "velmorta.cfg"); }, "velmorta",
       Message::NoConfigurationFile},
  };
  for (const auto& c : kCases) {
    RunDir s(c.configuration, c.pad);
    if (c.extra) c.extra(s);
    const std::vector<std::string> before = s.Entries(s.dir.path().string());
    std::ostringstream console, errors;
    const std::string base = s.dir / "b";
    const char* args[] = {"velmorta", base.c_str(), "ignored"};
    EXPECT_EQ(RunDriver(args, s.dir / c.executable, console, errors), 1) << c.what;
    EXPECT_EQ(console.str(), ConsoleLine(c.message)) << c.what;
    EXPECT_EQ(ReadFile(s.dir / "b_.vel"), FatalRunLog(c.message)) << c.what;
    std::vector<std::string> after = s.Entries(s.dir.path().string());
    std::erase(after, "b_.vel");
    EXPECT_EQ(after, before) << c.what;
    EXPECT_TRUE(s.Entries(s.out).empty()) << c.what;
  }
}

TEST(Run, NoArgumentTakesNullAsTheBaseName) {
  RunDir s(true, false);
  const fs::path saved = fs::current_path();
  fs::current_path(s.dir.path());
  const testing::RunResult missing = testing::RunWithArgs(s.dir, {"velmorta"});
  const std::string missingLog = ReadFile("(null)_.vel");
  WriteFile("(null).pad", Example("board.pad"));
  const testing::RunResult found = testing::RunWithArgs(s.dir, {"velmorta"});
  const std::string foundLog = ReadFile("(null)_.vel");
  fs::current_path(saved);

  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.console, ConsoleLine(Message::CannotOpenFile));
  EXPECT_EQ(missingLog, FatalRunLog(Message::CannotOpenFile));
  EXPECT_EQ(found.status, 0);
  EXPECT_EQ(found.console, "");
  EXPECT_EQ(foundLog, testing::SuccessRunLog());
}

TEST(Run, OutputFileThatCannotBeCreatedStopsBeforeAnyOutput) {
  for (std::size_t bad = 0; bad <= 7; ++bad) {  // 0: the output directory itself is missing
    RunDir s;
    std::vector<std::string> names(kNames.begin(), kNames.end());
    std::string outDir = s.out;
    if (bad == 0) outDir = s.dir / "missing";
    else names[bad - 1] = "missing/" + names[bad - 1];
    WriteFile(s.dir / "velmorta.cfg", Configuration(outDir, names));

    const testing::RunResult r = testing::RunInDir(s.dir, "b");
    EXPECT_EQ(r.status, 1) << bad;
    EXPECT_EQ(r.console, "") << bad;
    EXPECT_EQ(ReadFile(s.dir / "b_.vel"), FatalRunLog(Message::BadOutputDirectory)) << bad;
    // Files before the failing one are created empty; none after it is tried.
    const std::size_t created = bad == 0 ? 0 : bad - 1;
    std::vector<std::string> expected(kNames.begin(), kNames.begin() + static_cast<long>(created));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(s.Entries(s.out), expected) << bad;
    for (const std::string& name : expected) EXPECT_EQ(ReadFile(s.out + "/" + name), "") << bad;
  }
  // Too few names: output file 7 has no name.
  RunDir s;
  WriteFile(s.dir / "velmorta.cfg", Configuration(s.out, {kNames.begin(), kNames.begin() + 6}));
  EXPECT_EQ(testing::RunInDir(s.dir, "b").status, 1);
  EXPECT_EQ(ReadFile(s.dir / "b_.vel"), FatalRunLog(Message::BadOutputDirectory));
}

TEST(Run, RunLogThatCannotBeCreated) {
  RunDir s;
  fs::create_directory(s.dir / "b_.vel");
  const std::vector<std::string> before = s.Entries(s.dir.path().string());
  const testing::RunResult r = testing::RunInDir(s.dir, "b");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.console, ConsoleLine(Message::CannotOpenFile));
  EXPECT_EQ(s.Entries(s.dir.path().string()), before);
  EXPECT_TRUE(s.Entries(s.out).empty());
}

TEST(Run, SuccessfulRunAndASecondRunReplacingEveryFile) {
  RunDir s;
  const testing::RunResult first = testing::RunInDir(s.dir, "b");
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(first.console, "");
  EXPECT_EQ(ReadFile(s.dir / "b_.vel"), testing::SuccessRunLog());
  std::vector<std::string> sorted(kNames.begin(), kNames.end());
  std::sort(sorted.begin(), sorted.end());
  ASSERT_EQ(s.Entries(s.out), sorted);

  std::vector<std::string> paths = {s.dir / "b_.vel"};
  for (const std::string& name : kNames) paths.push_back(s.out + "/" + name);
  std::vector<std::string> contents;
  for (const std::string& path : paths) {
    contents.push_back(ReadFile(path));
    EXPECT_FALSE(contents.back().empty()) << path;
    WriteFile(path, std::string(200000, 'x'));  // longer than anything a run writes
  }
  const testing::RunResult second = testing::RunInDir(s.dir, "b");
  EXPECT_EQ(second.status, 0);
  for (std::size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(ReadFile(paths[i]), contents[i]) << paths[i];
}

}  // namespace
}  // namespace velmorta
