// Hostile inputs: huge tokens and lines, long lists, deep runs of zero codes, 32-bit
// limits, NUL and 0xFF bytes, and files that cannot be read or written. Each gives its
// exact output or the fatal message and status 1, never a crash.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "base/out_file.hpp"
#include "config/config_reader.hpp"
#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

namespace fs = std::filesystem;
using testing::Conversion;
using testing::Convert;
using testing::TempDir;

#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kShrink = 10;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr std::size_t kShrink = 10;
#else
constexpr std::size_t kShrink = 1;
#endif
#else
constexpr std::size_t kShrink = 1;
#endif

// Full sizes in a normal build; a tenth under the sanitizers, whose shadow memory and
// checks make the full sizes slow without reaching any other code.
constexpr std::size_t Scaled(std::size_t n) { return n / kShrink; }

std::string ExampleConfiguration() { return testing::ReadFile(VELMORTA_SOURCE_DIR "/examples/velmorta.cfg"); }
std::string ExampleBoard() { return testing::ReadFile(VELMORTA_SOURCE_DIR "/examples/board.pad"); }

void ExpectSameConversion(const Conversion& got, const Conversion& want, const std::string& what) {
  EXPECT_EQ(got.fatal, want.fatal) << what;
  EXPECT_EQ(got.runLog, want.runLog) << what;
  for (std::size_t n = 1; n <= 7; ++n) EXPECT_TRUE(got.out[n] == want.out[n]) << what << ": output file " << n;
}

std::string Repeat(std::string_view text, std::size_t times) {
  std::string out;
  out.reserve(text.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += text;
  return out;
}

TEST(Hostile, HugeTokensReadLikeTheirLeadingText) {
  const std::size_t kToken = Scaled(50'000'000);
  const std::string junk(kToken, 'x');
  std::string digits(kToken, '0');
  digits.front() = '1';
  const std::string board = ExampleBoard();
  const struct {
    const char* what;
    std::string pad;
    std::string same;  // the pad that must read identically
  } kCases[] = {
      {"a record followed by junk of the same token",
       board + "\n*** TopLine\n100,100,200,200,8" + junk, board + "\n*** TopLine\n100,100,200,200,8"},
      {"a token of junk before every section", junk + "\n" + board, board},
      {"a coordinate of huge magnitude saturates", board + "\n*** TopFill\n1,2,3," + digits,
       board + "\n*** TopFill\n1,2,3,2147483647"},
      {"a part name of the whole token", board + "\n*** Parts\n\"" + junk + "\",C,20,30,5,5",
       board + "\n*** Parts\n\"P\",C,20,30,5,5"},
  };
  const std::string configuration = ExampleConfiguration();
  for (const auto& c : kCases) {
    const Conversion got = Convert(configuration, c.pad);
    ExpectSameConversion(got, Convert(configuration, c.same), c.what);
    EXPECT_FALSE(got.fatal) << c.what;
  }
}

TEST(Hostile, LongConfigurationLinesAreReadIn255CharacterPieces) {
  const std::size_t kLine = 1'000'000;
  // A block of 255 characters beginning with ">" is one whole line of its own.
  std::string block = ">D0.5 7";
  block.resize(255, ' ');
  const std::size_t blocks = kLine / block.size();

  const Settings entries = ParseConfiguration(Repeat(block, blocks) + "\n");
  ASSERT_EQ(entries.LineApertureList.size(), blocks);
  EXPECT_EQ(entries.LineApertureList.front().key, 5);
  EXPECT_EQ(entries.LineApertureList.back().code, 7);

  // Only the first piece of a long name line begins with ">": the name is 251 characters.
  const Settings name = ParseConfiguration(">F1 " + std::string(kLine, 'a') + "\n>F2 b\n");
  EXPECT_EQ(name.OutputFileNames, (std::vector<std::string>{std::string(251, 'a'), "b"}));

  // A long comment line hides nothing after it.
  std::string comment(kLine, '>');
  comment.front() = '#';
  const Settings after = ParseConfiguration(comment + "\n>Z 5\n");
  EXPECT_EQ(after.Margin, 5000);
  EXPECT_TRUE(after.LineApertureList.empty());
}

TEST(Hostile, LongListsAndDeepRunsOfZeroCodes) {
  const std::size_t kEntries = Scaled(100'000);
  const std::string configuration = ExampleConfiguration();
  const std::string board = ExampleBoard();

  // Key 5 (the outline) on the last of a long run of zero codes defers to the last code
  // before the run, 18.
  ExpectSameConversion(Convert(configuration + Repeat(">D0.5 0\n", kEntries), board),
                       Convert(configuration + ">D0.5 18\n", board), "outline key behind zero codes");

  // The tool scan goes on before the entry whose code it wrote, so a run of zero codes
  // of key 120 behind the last tool writes that tool once, then the configured one.
  const Conversion tools = Convert(configuration + Repeat(">T12 0\n", kEntries), board);
  EXPECT_FALSE(tools.fatal);
  EXPECT_NE(tools.out[5].find("T18*\r\nT7*\r\nX"), std::string::npos) << tools.out[5].substr(0, 200);

  // Every entry of the hole's key is selected, later entries first.
  std::string many = configuration;
  std::string expected;
  for (std::size_t n = 1; n <= kEntries; ++n) many += ">T12 " + std::to_string(n + 100) + "\n";
  for (std::size_t n = kEntries; n >= 1; --n) expected.append("T").append(std::to_string(n + 100)).append("*\r\n");
  expected += "T7*\r\n";
  const Conversion selections = Convert(many, board);
  EXPECT_NE(selections.out[5].find(expected), std::string::npos);

  // Zero codes all the way to the first entry: no aperture for the outline.
  const Conversion none = Convert(Repeat(">D0.5 0\n", kEntries), "*** Area\n1,1,2,2");
  EXPECT_EQ(none.fatal, Message::BadApertureSetting);
  const Conversion noTool = Convert(">T12 0\n" + configuration + Repeat(">T12 0\n", kEntries), board);
  EXPECT_EQ(noTool.fatal, Message::BadHoleDefault);
}

TEST(Hostile, CoordinatesAtThe32BitLimits) {
  // 8454660 pad units are 2147483640 board units, the largest that fits; the plot
  // transform wraps at 32 bits.
  const std::string pad =
      "*** Pitch 1 *** Type 0 *** Parts \"A\",C,8454660,-8454660,5,5 "
      "*** TopLine -8454660,8454660,8454660,-8454660,8 "
      "*** BottomLine -8454660,8454660,8454660,-8454660,8 "
      "*** TopFill -8454660,8454660,8454660,-8454660 "
      "*** Hole 8454660,-8454660,12";
  const Conversion got = Convert(ExampleConfiguration(), pad);
  ASSERT_FALSE(got.fatal);
  // MinX -2147483640 and MaxY 2147483640, both from records: margin 5000 + 5080. The
  // line's first end is at (10080, 10080), its second end and the part wrap to 10064.
  EXPECT_NE(got.out[3].find("D20*X10064Y10064*D03*D20*X10080Y10080*D03*"), std::string::npos) << got.out[3];
  EXPECT_NE(got.out[2].find("D14*X10080Y10080*D01*X10064Y10064*D02*D10*X10080Y10054*D01*X10064Y10038*D02*"),
            std::string::npos)
      << got.out[2];
  EXPECT_NE(got.out[5].find("X10080Y10080M05\r\nT7*\r\nX10064Y10064M05\r\n"), std::string::npos) << got.out[5];
  // The auxiliary lands move c * 500 = 357.14... toward the other end as seen in output
  // coordinates: down from the first end, up from the second, both truncated.
  EXPECT_EQ(got.out[1],
            "G71*G90*D16*D02*G01D14*X10080Y10080*D01*X10064Y10064*D02*"
            "D15*X10080Y10080*D01*X9722Y9722*D02*X10421Y10421*D01*X10064Y10064*D02*G01X0Y0*M00*");

  // Numbers are written whole at both ends of the range.
  OutFile file = OutFile::InMemory();
  for (const std::int32_t v : {INT32_MIN, INT32_MIN + 1, -1000000000, -10, -1, 0, 9, 10, 99, 100, INT32_MAX}) {
    file.Put("X", v, "Y", ~v, "*D03*");  // ~v is -v - 1
  }
  EXPECT_EQ(file.Text(),
            "X-2147483648Y2147483647*D03*X-2147483647Y2147483646*D03*X-1000000000Y999999999*D03*X-10Y9*D03*"
            "X-1Y0*D03*X0Y-1*D03*X9Y-10*D03*X10Y-11*D03*X99Y-100*D03*X100Y-101*D03*X2147483647Y-2147483648*D03*");

  // Fields beyond the 32-bit range saturate before they are scaled.
  ExpectSameConversion(Convert(ExampleConfiguration(), "*** Area 99999999999999,-99999999999999,1,2"),
                       Convert(ExampleConfiguration(), "*** Area 2147483647,-2147483648,1,2"),
                       "saturated fields");
}

TEST(Hostile, NulAndFFBytes) {
  using namespace std::string_literals;
  const std::string configuration = ExampleConfiguration();
  const std::string board = ExampleBoard();
  const struct {
    const char* what;
    std::string pad;
    std::string same;
  } kCases[] = {
      {"NUL and 0xFF in a part name", board + "\n*** Parts \"\xff\0\x81\xfe\"s,C,20,30,5,5"s,
       board + "\n*** Parts \"P\",C,20,30,5,5"},
      {"tokens of NUL and 0xFF outside sections", "\0\xff\xff \0\0\n"s + board, board},
      {"a section name with a NUL is no section", "*** Pitch\0 1 *** Type 1"s, "*** Type 1"},
      {"a NUL ends a number, not its field", "*** Area 100\0\xff,200,300,400"s, "*** Area 100,200,300,400"},
  };
  for (const auto& c : kCases) ExpectSameConversion(Convert(configuration, c.pad), Convert(configuration, c.same), c.what);

  // A megabyte of random bytes without "*" opens no section.
  std::mt19937 random(8);
  std::string noise(Scaled(1'000'000), '\0');
  for (char& byte : noise) {
    byte = static_cast<char>(random());
    if (byte == '*') byte = '\xff';
  }
  ExpectSameConversion(Convert(configuration, noise), Convert(configuration, ""), "random bytes");

  // The configuration reads a line as a C string: a NUL ends it (">D" alone adds an
  // entry of key 0 and code 0). 0xFF bytes are kept.
  const Settings settings = ParseConfiguration(">Z 5\0 9\n>F1 a\0b\n>F2 \xff\xfe.gbr\n>D\0 0.5 3\n"s);
  EXPECT_EQ(settings.Margin, 5000);
  EXPECT_EQ(settings.OutputFileNames, (std::vector<std::string>{"a", "\xff\xfe.gbr"}));
  ASSERT_EQ(settings.LineApertureList.size(), 1u);
  EXPECT_EQ(settings.LineApertureList[0].key, 0);
  EXPECT_EQ(settings.LineApertureList[0].code, 0);
}

// A run of the driver in `dir` on a configuration and a pad file written there.
struct DriverRun {
  int status = 0;
  std::string console;
  std::string runLog;
};

DriverRun RunBoard(const TempDir& dir, const std::string& configuration, const std::string* pad) {
  testing::WriteFile(dir / "velmorta.cfg", configuration);
  if (pad != nullptr) testing::WriteFile(dir / "b.pad", *pad);
  const testing::RunResult result = testing::RunInDir(dir, "b");
  return {result.status, result.console, testing::ReadFile(dir / "b_.vel")};
}

// The example configuration with the output directory `directory` and file 4 named `name4`.
std::string ConfigurationWith(const std::string& directory, const std::string& name4 = "land2.gbr") {
  std::istringstream lines(ExampleConfiguration());
  std::string out;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with(">g ")) line = ">g " + directory;
    if (line.starts_with(">F4 ")) line = ">F4 " + name4;
    out += line + "\n";
  }
  return out;
}

TEST(Hostile, FilesThatCannotBeReadOrWritten) {
  const std::string board = ExampleBoard();
  const std::string cannotOpen = std::string(Bytes(Message::CannotOpenFile)) + "\n";
  const std::string noConfiguration = std::string(Bytes(Message::NoConfigurationFile)) + "\n";
  {
    TempDir dir;  // the pad file is a directory
    fs::create_directory(dir / "b.pad");
    const DriverRun run = RunBoard(dir, ConfigurationWith(dir / "out"), nullptr);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.console, cannotOpen);
    EXPECT_EQ(run.runLog, testing::FatalRunLog(Message::CannotOpenFile));
    EXPECT_FALSE(fs::exists(dir / "out"));
  }
  {
    TempDir dir;  // the configuration is a directory
    testing::WriteFile(dir / "b.pad", board);
    fs::create_directory(dir / "velmorta.cfg");
    const testing::RunResult result = testing::RunInDir(dir, "b");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.console, noConfiguration);
    EXPECT_EQ(testing::ReadFile(dir / "b_.vel"), testing::FatalRunLog(Message::NoConfigurationFile));
  }
  {
    TempDir dir;  // the run log cannot be created: only the console tells
    const testing::RunResult result = testing::RunWithArgs(dir, {"velmorta", (dir / "none/b").c_str()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.console, cannotOpen);
  }

  const struct {
    const char* what;
    std::string directory;  // relative to the run's directory
    std::string name4;
    bool made;  // whether output files 1 to 3 were created before the failure
  } kOutputs[] = {
      {"a directory that does not exist", "missing", "land2.gbr", false},
      {"a directory that is a file", "plain", "land2.gbr", false},
      {"output file 1 names a directory", "out", "land2.gbr", false},
      {"output file 4 names a directory", "out", "sub", true},
      {"output file 4 inside a file", "out", "plain/land2.gbr", true},
      {"output file 4 with an empty name", "out", "", true},
  };
  for (const auto& c : kOutputs) {
    TempDir dir;
    fs::create_directories(dir / "out/sub");
    if (!c.made) fs::create_directory(dir / "out/bottom.gbr");
    testing::WriteFile(dir / "plain", "x");
    testing::WriteFile(dir / "out/plain", "x");
    const DriverRun run = RunBoard(dir, ConfigurationWith(dir / c.directory, c.name4), &board);
    EXPECT_EQ(run.status, 1) << c.what;
    EXPECT_EQ(run.console, "") << c.what;
    EXPECT_EQ(run.runLog, testing::FatalRunLog(Message::BadOutputDirectory)) << c.what;
    // Nothing is written before all seven files are open.
    EXPECT_EQ(fs::exists(dir / "out/top.gbr"), c.made) << c.what;
    if (c.made) {
      EXPECT_EQ(testing::ReadFile(dir / "out/top.gbr"), "") << c.what;
    }
    EXPECT_FALSE(fs::exists(dir / "out/drill.drl")) << c.what;
  }
}

TEST(Hostile, OutputDirectoryWithoutWriteRight) {
#ifdef _WIN32
  // Permission bits are a read-only attribute on Windows, and a read-only directory
  // still takes new files: only an access-control list could refuse them.
  GTEST_SKIP() << "no write-protected directory from permission bits on Windows";
#else
  if (geteuid() == 0) GTEST_SKIP() << "the super-user writes into any directory";
  TempDir dir;
  fs::create_directory(dir / "out");
  fs::permissions(dir / "out", fs::perms::owner_read | fs::perms::owner_exec);
  const std::string board = ExampleBoard();
  const DriverRun run = RunBoard(dir, ConfigurationWith(dir / "out"), &board);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.runLog, testing::FatalRunLog(Message::BadOutputDirectory));
#endif
}

}  // namespace
}  // namespace velmorta
