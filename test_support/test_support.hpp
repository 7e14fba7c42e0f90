#pragma once
// Helpers shared by the tests: temporary directories, files, whole conversions.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "driver/messages.hpp"

namespace velmorta::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string operator/(std::string_view name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, std::string_view bytes);

// Text converted between UTF-8 and Shift-JIS with the system's iconv.
std::string ToShiftJis(std::string_view utf8);
std::string FromShiftJis(std::string_view sjis);

// A conversion run in memory: configuration text and pad text in, the seven output
// texts (index 1 to 7), the run log and the fatal message, if any, out.
struct Conversion {
  std::array<std::string, 8> out;
  std::string runLog;
  std::optional<Message> fatal;
};
Conversion Convert(std::string_view configuration, std::string_view pad);

// A whole run of the driver in `dir`: the configuration is written beside a notional
// executable dir/velmorta; the base name is dir/base.
struct RunResult {
  int status = 0;
  std::string console;
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
