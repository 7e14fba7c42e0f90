// Whole runs grouped by what they protect: files that must survive a refused run,
// failures that must be reported, warnings that must appear, and bytes that must not
// change. In the expected texts "{d}" stands for the run's directory.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "driver/run.hpp"
#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

const std::vector<std::string> kNames = {"bottom.gbr", "top.gbr",   "land1.gbr",  "land2.gbr",
                                         "drill.drl",  "holes.gbr", "outline.gbr"};

std::string Example(const std::string& name) { return ReadFile(VELMORTA_SOURCE_DIR "/examples/" + name); }

std::string Expand(std::string text, const TempDir& dir) {
  for (std::size_t at; (at = text.find("{d}")) != std::string::npos;) text.replace(at, 3, dir.path().string());
  return text;
}

// The seven output paths in out/, with the changes given by output number.
std::vector<std::string> Outputs(const std::map<std::size_t, std::string>& changes = {}) {
  std::vector<std::string> names;
  for (const std::string& name : kNames) names.push_back("{d}/out/" + name);
  for (const auto& [n, name] : changes) names[n - 1] = name;
  return names;
}

// A directory for base name "b": the example board, the example configuration without
// its output directory and with `names` (expanded) as its ">F" lines, an out/ folder
// holding a previous run's seven files.
struct RunDir {
  TempDir dir;
  explicit RunDir(const std::vector<std::string>& names = Outputs(), const std::string& extra = "") {
    std::string configuration;
    for (std::size_t n = 0; n < names.size(); ++n) {
      configuration += ">F" + std::to_string(n + 1) + " " + Expand(names[n], dir) + "\n";
    }
    std::istringstream example(Example("velmorta.cfg"));
    for (std::string line; std::getline(example, line);) {
      if (!line.starts_with(">F") && !line.starts_with(">g") && !line.starts_with(">p")) configuration += line + "\n";
    }
    WriteFile(dir / "velmorta.cfg", configuration + extra);
    WriteFile(dir / "b.pad", Example("board.pad"));
    fs::create_directory(dir / "out");
    for (const std::string& name : kNames) WriteFile(dir / ("out/" + name), "previous " + name);
  }
  std::string operator/(std::string_view name) const { return dir / name; }
};

// Every regular file under the directory with its bytes, by its path inside it
// ("out/drill.drl", whatever the system's separator); links are followed by their
// targets' own entries.
std::map<std::string, std::string> Snapshot(const TempDir& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
    if (!entry.is_symlink() && entry.is_regular_file()) {
      files[fs::relative(entry.path(), dir.path()).generic_string()] = ReadFile(entry.path().string());
    }
  }
  return files;
}

// Whether the system lets this user write into a read-only file (root may), or create a
// file in a read-only folder (root may, and anyone on Windows): then it refuses nothing.
bool StillWritable(const std::string& file) {
  std::FILE* opened = std::fopen(file.c_str(), "r+b");  // neither truncates nor writes
  if (opened != nullptr) std::fclose(opened);
  return opened != nullptr;
}
bool StillCreatable(const std::string& folder) {
  const std::string probe = folder + "/probe";
  std::FILE* created = std::fopen(probe.c_str(), "wb");
  if (created == nullptr) return false;
  std::fclose(created);
  fs::remove(probe);
  return true;
}

// A link where the system allows one; a case whose link cannot be made is skipped.
bool Link(const std::string& target, const std::string& link, bool hard = false) {
  std::error_code error;
  fs::remove(link, error);
  if (hard) {
    fs::create_hard_link(target, link, error);
  } else {
    fs::create_symlink(target, link, error);
  }
  return !error;
}

std::string ConsoleLine(Message message) { return std::string(Bytes(message)) + "\n"; }

TEST(Safety, FilesThatMustSurviveARefusedRun) {
  const std::vector<std::string> names = Outputs();
  const struct {
    const char* what;
    std::vector<std::string> names;
    std::function<bool(const RunDir&)> prepare;
    bool runLogIsInput;  // then nothing is written, and the console says so
    const char* reason;
  } kCases[] = {
      {"output file 3 is the pad file", Outputs({{3, "{d}/out/../b.pad"}}), nullptr, false,
       "output file 3 {d}/out/../b.pad is the same file as the pad file {d}/b.pad"},
      {"output file 1 is the configuration", Outputs({{1, "{d}/velmorta.cfg"}}), nullptr, false,
       "output file 1 {d}/velmorta.cfg is the same file as the configuration file {d}/velmorta.cfg"},
      {"output file 7 is the run log", Outputs({{7, "{d}/./b_.vel"}}), nullptr, false,
       "output file 7 {d}/./b_.vel is the same file as the run log {d}/b_.vel"},
      {"two spellings of one output", Outputs({{2, "{d}/out/./bottom.gbr"}}), nullptr, false,
       "output file 2 {d}/out/./bottom.gbr is the same file as output file 1 {d}/out/bottom.gbr"},
      {"an output linked to the pad file", names,
       [](const RunDir& s) { return Link(s / "b.pad", s / "out/land2.gbr"); }, false,
       "output file 4 {d}/out/land2.gbr is the same file as the pad file {d}/b.pad"},
      {"two outputs linked to one file", names,
       [](const RunDir& s) { return Link(s / "out/top.gbr", s / "out/holes.gbr", true); }, false,
       "output file 6 {d}/out/holes.gbr is the same file as output file 2 {d}/out/top.gbr"},
      // Files 1 to 4 exist from the previous run and are open when file 5 fails.
      {"output file 5 is a directory", names,
       [](const RunDir& s) {
         fs::remove(s / "out/drill.drl");
         return fs::create_directory(s / "out/drill.drl");
       },
       false, "cannot write {d}/out/drill.drl: Is a directory"},
      {"output file 6 in a folder that does not exist", Outputs({{6, "{d}/none/holes.gbr"}}), nullptr, false,
       "cannot create {d}/none/holes.gbr: No such file or directory"},
      {"the run log linked to the pad file", names,
       [](const RunDir& s) { return Link(s / "b.pad", s / "b_.vel", true); }, true,
       "{d}/b_.vel is the same file as {d}/b.pad; nothing is written"},
      // The pad file is missing too: its failure must not empty the run log first.
      {"the run log linked to the configuration", names,
       [](const RunDir& s) { return fs::remove(s / "b.pad") && Link(s / "velmorta.cfg", s / "b_.vel"); }, true,
       "{d}/b_.vel is the same file as {d}/velmorta.cfg; nothing is written"},
  };
  for (const auto& c : kCases) {
    RunDir s(c.names);
    if (c.prepare && !c.prepare(s)) {
      std::cout << "[ skipped ] " << c.what << ": the link cannot be made here\n";
      continue;
    }
    std::map<std::string, std::string> before = Snapshot(s.dir);
    if (!c.runLogIsInput) before.erase("b_.vel");  // a run log is replaced by every run
    const testing::RunResult r = testing::RunInDir(s.dir, "b");
    EXPECT_EQ(r.status, 1) << c.what;
    EXPECT_EQ(r.errors, "velmorta: " + Expand(c.reason, s.dir) + "\n") << c.what;
    if (c.runLogIsInput) {
      EXPECT_EQ(r.console, ConsoleLine(Message::CannotOpenFile)) << c.what;
    } else {
      EXPECT_EQ(r.console, "") << c.what;
      EXPECT_EQ(ReadFile(s / "b_.vel"), testing::FatalRunLog(Message::BadOutputDirectory)) << c.what;
    }
    const std::map<std::string, std::string> after = Snapshot(s.dir);
    for (const auto& [path, bytes] : before) {
      EXPECT_TRUE(after.contains(path) && after.at(path) == bytes) << c.what << ": " << path;
    }
  }
}

// Root writes into read-only files and folders, so only an ordinary user can be refused;
// what the system lets this user do is probed first.
TEST(Safety, ReadOnlyFilesAndFoldersAsAnOrdinaryUser) {
  RunDir file;
  fs::permissions(file / "out/drill.drl", fs::perms::owner_read);
  if (StillWritable(file / "out/drill.drl")) GTEST_SKIP() << "this user may write a read-only file (as the super-user may)";
  const std::map<std::string, std::string> before = Snapshot(file.dir);
  const testing::RunResult r = testing::RunInDir(file.dir, "b");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.errors, Expand("velmorta: cannot write {d}/out/drill.drl: Permission denied\n", file.dir));
  for (const std::string& name : kNames) EXPECT_EQ(ReadFile(file / ("out/" + name)), before.at("out/" + name));

  RunDir folder;
  for (const std::string& name : kNames) fs::remove(folder / ("out/" + name));
  fs::permissions(folder / "out", fs::perms::owner_read | fs::perms::owner_exec);
  if (StillCreatable(folder / "out")) {
    std::cout << "[ skipped ] a read-only folder: this system lets this user create files in it\n";
    return;
  }
  const testing::RunResult f = testing::RunInDir(folder.dir, "b");
  EXPECT_EQ(f.status, 1);
  EXPECT_EQ(f.errors, Expand("velmorta: cannot create {d}/out/bottom.gbr: Permission denied\n", folder.dir));
}

TEST(Safety, FailuresThatMustBeReported) {
  const std::vector<std::string> names = Outputs();
  const struct {
    const char* what;
    std::vector<std::string> names;
    std::string extra;  // configuration lines
    std::function<bool(const RunDir&)> prepare;
    std::optional<Message> message;  // in the run log and, when `console`, on the console
    bool console;
    const char* reason;
  } kCases[] = {
#ifdef __linux__
      // A full disk: nothing is lost silently, and no completion follows.
      {"an output on a full device", Outputs({{3, "/dev/full"}}), "", nullptr, Message::BadOutputDirectory, false,
       "/dev/full: write failed: No space left on device"},
      {"the run log on a full device", names, "", [](const RunDir& s) { return Link("/dev/full", s / "b_.vel"); },
       Message::CannotOpenFile, true, "{d}/b_.vel: write failed: No space left on device"},
      // Reading a process's memory at address 0 fails: a read error, not an end of file.
      {"a pad file that cannot be read", names, "", [](const RunDir& s) { return Link("/proc/self/mem", s / "b.pad"); },
       Message::CannotOpenFile, true, "{d}/b.pad: read failed: Input/output error"},
      {"a configuration that cannot be read", names, "",
       [](const RunDir& s) { return Link("/proc/self/mem", s / "velmorta.cfg"); }, Message::NoConfigurationFile, true,
       "{d}/velmorta.cfg: read failed: Input/output error"},
#endif
      {"no pad file", names, "", [](const RunDir& s) { return fs::remove(s / "b.pad"); }, Message::CannotOpenFile, true,
       "cannot open {d}/b.pad: No such file or directory"},
      {"a run log that cannot be created", names, "",
       [](const RunDir& s) { return fs::create_directory(s / "b_.vel"); }, std::nullopt, true,
       "cannot create {d}/b_.vel: Is a directory"},
      {"an output folder that does not exist", Outputs({{1, "{d}/none/bottom.gbr"}}), "", nullptr,
       Message::BadOutputDirectory, false, "cannot create {d}/none/bottom.gbr: No such file or directory"},
      {"no name for output file 7", std::vector<std::string>(names.begin(), names.begin() + 6), "", nullptr,
       Message::BadOutputDirectory, false, "{d}/velmorta.cfg: no >F line names output file 7"},
      {"a default drill of no tool", names, ">d1 9.9\n", nullptr, Message::BadHoleDefault, false,
       "{d}/velmorta.cfg: the default drill (>d) or a hole's diameter has no >T line with a code"},
  };
  for (const auto& c : kCases) {
    RunDir s(c.names, c.extra);
    if (c.prepare && !c.prepare(s)) {
      std::cout << "[ skipped ] " << c.what << ": the link cannot be made here\n";
      continue;
    }
    const testing::RunResult r = testing::RunInDir(s.dir, "b");
    EXPECT_EQ(r.status, 1) << c.what;
    EXPECT_EQ(r.errors, "velmorta: " + Expand(c.reason, s.dir) + "\n") << c.what;
    const Message shown = c.message.value_or(Message::CannotOpenFile);
    EXPECT_EQ(r.console, c.console ? ConsoleLine(shown) : "") << c.what;
    if (c.message && fs::is_regular_file(s / "b_.vel")) {
      EXPECT_EQ(ReadFile(s / "b_.vel"), testing::FatalRunLog(*c.message)) << c.what;
    }
  }
}

// A multi-gigabyte token, in small: the converter under a memory limit it cannot meet.
TEST(Safety, OutOfMemoryIsAFatalStop) {
#if defined(_WIN32)
  GTEST_SKIP() << "no ulimit";
#elif defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizers' shadow memory needs more address space than the limit";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  GTEST_SKIP() << "the sanitizers' shadow memory needs more address space than the limit";
#endif
#endif
  TempDir dir;
  fs::create_directory(dir / "out");
  WriteFile(dir / "b.pad", "*** Pitch 1 *** Area " + std::string(24 << 20, 'x'));
  // The binary reads the example configuration beside it, whose outputs go to out/.
  const std::string command =
      "cd '" + dir.path().string() + "' && ulimit -v 16000 && VELMORTA_LANG=en '" VELMORTA_BINARY "' b 2> errors.txt";
  EXPECT_NE(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadFile(dir / "b_.vel"), testing::FatalRunLog(Message::OutOfMemory));
  EXPECT_EQ(ReadFile(dir / "errors.txt"), "velmorta: not enough memory to convert b.pad\n");
  // What was written stays: the copper headers of the "Pitch" section.
  EXPECT_EQ(ReadFile(dir / "out/bottom.gbr"), "G71*G90*D16*D02*G01");
}

TEST(Safety, WarningsThatMustAppear) {
  const std::string configuration = Example("velmorta.cfg");
  const std::string w = "velmorta: warning: b.pad: ";
  const struct {
    const char* what;
    std::string configuration, pad, errors;
  } kCases[] = {
      {"unknown section", configuration, "*** Pitch 1 *** TopLines 1,2,3,4,5 6,7,8,9,10",
       w + "unknown section name \"TopLines\" (section 2 of the file): its 2 tokens are skipped\n"},
      {"a section marker without a name", configuration, "*** Pitch 1 ***",
       w + "\"***\" at the end of the file opens no section\n"},
      {"no pitch", configuration, "*** Area 1,1,2,2",
       w + "no \"Pitch\" of 1 or 2: output files 1 to 4 get no header, and no width or land code selects an "
           "aperture\n"},
      {"an outline drawn from the origin", configuration, "*** Pitch 1 *** Area 0,0,100,0 100,0,100,100 100,100,0,100",
       w + "Area record 1 \"0,0,100,0\" begins with 0 and so ends the table; 3 records from it on are ignored\n"},
      {"a blank last record is an end marker", configuration, "*** Pitch 1 *** Area 1,1,2,2 0,0,0,0", ""},
      {"holes without their tool", testing::EmissionConfig("L2"), "*** Pitch 1 *** Hole 10,20,8 30,40,8",
       w + "Hole record 1 \"10,20,8\" ends the table: every hole's tool is the code of >T entry 18, which is 0 "
           "here; 2 records from it on are ignored\n"},
      {"a field that is not a number", configuration, "*** Pitch 1 *** TopLine 1,2,x,4,8",
       w + "TopLine record 1 \"1,2,x,4,8\": x2 is not a number; read as 0\n"},
      {"a hole diameter of no tool", configuration, "*** Pitch 1 *** Parts \"a\",b,1,1,5,5 *** Hole 10,20,99",
       w + "Hole record 1 (10,20): diameter 99 matches no >T line of that size; drilled with tool 3, the tool in "
           "force\n"},
      {"a line width of no size class", configuration, "*** Pitch 1 *** BottomLine 1,1,5,5,40",
       w + "BottomLine record 1 (1,1)-(5,5): width 40 selects no line aperture at pitch 1; the aperture in force "
           "stays\n"},
      {"a land code of no size class", configuration, "*** Pitch 2 *** Type 1 *** Parts \"a\",b,1,1,5,20",
       w + "Parts record 1 (1,1): land2 code 20 selects no land aperture at pitch 2; the aperture in force stays\n"},
      {"an unknown configuration key", ">X 5\n" + configuration, "*** Pitch 1",
       "velmorta: warning: velmorta.cfg: line 1 \">X 5\": unknown key \"X\"; the line is skipped\n"},
      {"the export's settings", ">E sides auto\n" + configuration, "*** Pitch 1", ""},
  };
  for (const auto& c : kCases) {
    const testing::Conversion got = testing::Convert(c.configuration, c.pad);
    EXPECT_EQ(got.errors, c.errors) << c.what;
    EXPECT_FALSE(got.fatal) << c.what;  // a warning ends nothing
  }

  // A hundred thousand bad records print five warnings and a count.
  std::string pad = "*** Pitch 1 *** TopLine";
  for (int i = 0; i < 100'000; ++i) pad += " 1,2,x,4,8";
  std::string expected;
  for (int i = 1; i <= 5; ++i) {
    expected += w + "TopLine record " + std::to_string(i) + " \"1,2,x,4,8\": x2 is not a number; read as 0\n";
  }
  expected += w + "99995 more records with a field that is not a number\n";
  EXPECT_EQ(testing::Convert(configuration, pad).errors, expected);
}

TEST(Safety, BytesThatMustNotChange) {
  // The example boards convert without a word on standard error.
  for (const char* board : {"board.pad", "single.pad"}) {
    RunDir s;
    WriteFile(s / "b.pad", Example(board));
    const testing::RunResult r = testing::RunInDir(s.dir, "b");
    EXPECT_EQ(r.status, 0) << board;
    EXPECT_EQ(r.errors, "") << board;
  }
  const auto outputs = [](const RunDir& s) {
    std::vector<std::string> texts;
    for (const std::string& name : kNames) texts.push_back(ReadFile(s / ("out/" + name)));
    return texts;
  };
  RunDir plain;
  ASSERT_EQ(testing::RunInDir(plain.dir, "b").status, 0);

  // A byte order mark before the first section or the first setting is skipped.
  RunDir marked;
  WriteFile(marked / "b.pad", "\xEF\xBB\xBF" + Example("board.pad").substr(Example("board.pad").find("***")));
  WriteFile(marked / "velmorta.cfg", "\xEF\xBB\xBF" + ReadFile(marked / "velmorta.cfg"));
  const testing::RunResult m = testing::RunInDir(marked.dir, "b");
  EXPECT_EQ(m.status, 0);
  EXPECT_EQ(m.errors, "");
  EXPECT_EQ(outputs(marked), outputs(plain));

  // A device may be named by any number of outputs: users discard layers that way.
#ifdef _WIN32
  const std::string null = "NUL";
#else
  const std::string null = "/dev/null";
#endif
  RunDir discarding(Outputs({{1, null}, {2, null}, {6, null}}));
  for (const std::size_t n : {0, 1, 5}) fs::remove(discarding / ("out/" + kNames[n]));
  const testing::RunResult d = testing::RunInDir(discarding.dir, "b");
  EXPECT_EQ(d.status, 0);
  EXPECT_EQ(d.errors, "");
  for (const std::size_t n : {2, 3, 4, 6}) EXPECT_EQ(outputs(discarding)[n], outputs(plain)[n]) << kNames[n];
}

TEST(Safety, HelpAndVersionCreateNoFile) {
  TempDir dir;
  const fs::path saved = fs::current_path();
  fs::current_path(dir.path());  // where a run without a name would leave "(null)_.vel"
  const testing::RunResult help = testing::RunWithArgs(dir, {"velmorta", "--help"});
  const testing::RunResult h = testing::RunWithArgs(dir, {"velmorta", "-h", "ignored"});
  const testing::RunResult version = testing::RunWithArgs(dir, {"velmorta", "--version"});
  const bool empty = fs::is_empty(dir.path());
  const testing::RunResult none = testing::RunWithArgs(dir, {"velmorta"});
  fs::current_path(saved);

  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.console.starts_with("Usage: velmorta BASE\n")) << help.console;
  EXPECT_EQ(help.errors, "");
  EXPECT_EQ(h.console, help.console);
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.console, "velmorta " VELMORTA_VERSION "\n");
  EXPECT_TRUE(empty);
  // Without a name the run goes on as it always has, and says how to call it.
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.console, ConsoleLine(Message::CannotOpenFile));
  EXPECT_EQ(none.errors, "Usage: velmorta BASE\nvelmorta: cannot open (null).pad: No such file or directory\n");
}

}  // namespace
}  // namespace velmorta
