#pragma once
// Helpers shared by the tests: temporary directories, files, whole conversions.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/messages.hpp"

namespace velmorta::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // `name` inside the directory, joined with "/" on every system (Windows takes it too),
  // so that a path the test builds is spelt like those it writes into a configuration.
  std::string operator/(std::string_view name) const { return path_.string() + "/" + std::string(name); }

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, std::string_view bytes);

// Text converted between UTF-8 and Shift-JIS by the system: iconv, or code page 932
// on Windows.
std::string ToShiftJis(std::string_view utf8);
std::string FromShiftJis(std::string_view sjis);

// `text` as one word of std::system's shell (sh, or cmd.exe on Windows).
std::string ShellQuote(std::string_view text);
// A std::system command that runs `command` in `dir`.
std::string CommandIn(const std::filesystem::path& dir, const std::string& command);
// Whether std::system finds a program of this name.
bool ProgramOnPath(std::string_view name);

// A conversion run in memory: configuration text and pad text in, the seven output
// texts (index 1 to 7), the run log, the fatal message, if any, and what went to
// standard error out.
struct Conversion {
  std::array<std::string, 8> out;
  std::string runLog;
  std::optional<Message> fatal;
  std::string errors;
};
Conversion Convert(std::string_view configuration, std::string_view pad);

// A whole run of the driver in `dir`: the configuration is written beside a notional
// executable dir/velmorta; the base name is dir/base.
struct RunResult {
  int status = 0;
  std::string console;
  std::string errors;  // standard error
};
RunResult RunInDir(const TempDir& dir, std::string_view base);
RunResult RunWithArgs(const TempDir& dir, std::initializer_list<const char*> args);

// The run log of a run that ended with `message` as a fatal stop.
std::string FatalRunLog(Message message);
// The run log of a successful run.
std::string SuccessRunLog();

// examples/<pad> converted in `dir` as dir/board by a whole driver run, with the
// example configuration written as dir/velmorta.cfg and its output directory set to
// `dir` itself. Returns the run's status.
int ConvertExample(const TempDir& dir, std::string_view pad);

}  // namespace velmorta::testing

#include <cstdio>

namespace velmorta::testing {

// A temporary stdio stream holding `bytes`, positioned at its start; the caller closes it.
std::FILE* OpenTempStream(std::string_view bytes);

}  // namespace velmorta::testing

#include <cstdint>

#include "board/board.hpp"
#include "config/settings.hpp"

namespace velmorta::testing {

// A configuration for emission tests: the two mode tokens; line apertures of keys 3, 4, 5,
// 6, 8, 10, 12, 14 and 16 with codes key + 100; land apertures of keys 164, 200 and 224
// with codes 21, 22 and 23; the tool lines given; defaults for both pitches (line width
// keys 8 and 4, fixed land 164, drill 80, auxiliary land size 12 and 8, auxiliary land
// length 1000 and 500). The lines of `extra` come last: they override defaults and add
// list entries after the standard ones.
std::string EmissionConfig(std::string_view apertureMode, std::string_view auxLandMode = "L0",
                           std::string_view extra = "", std::string_view tools = ">T8 1\n");

// Emission of a board built by the test, without a pad file: the seven files hold no
// header, only what the emission writes (index 1 to 7, as for Convert).
Conversion EmitBoard(std::string_view configuration, const Board& board);
Conversion EmitBoard(const Settings& settings, const Board& board);

// A board whose extremes (MinX 0, MaxY 10000, both from the outline) make the plot
// transform, at Margin 0, put board point (x, y) at output point (x, 10000 - y). The
// record helpers take output coordinates, so expected texts read as the points given.
Board FramedBoard(int pitch, int boardType);
Line OutLine(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2, std::int32_t width = 0);
Land OutLand(std::int32_t X, std::int32_t Y, std::int32_t land1 = 0, std::int32_t land2 = 0);
Hole OutHole(std::int32_t X, std::int32_t Y, std::int32_t diameter);
Segment OutSegment(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2);

}  // namespace velmorta::testing
