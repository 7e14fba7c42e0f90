// A whole run of the driver on a configuration and a pad file taken from the input,
// in a directory of its own, with the invariants every run must keep:
// - the run log is "*** Message", then the completion message (status 0) or "<ERROR>"
//   and one message (status 1), then the closing banner; nothing goes to the console;
// - standard error holds a few ASCII warnings, and one reason line exactly when the
//   run failed;
// - two outputs that are one file end the run before anything is written, and a
//   refused run leaves an existing file with its bytes;
// - the Gerber files hold only commands and no line break; every drill line ends in
//   CR LF; the hole drawing flashes where the drill file drills, with the same codes;
// - a successful run ends every output file with its trailer, once; a failed run
//   writes none.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <unistd.h>

#include "base/messages.hpp"
#include "config/config_reader.hpp"
#include "driver/run.hpp"
#include "fuzz/fuzz_support.hpp"

namespace fs = std::filesystem;

namespace velmorta::fuzz {
namespace {

// Inputs (pad file, configuration, run log) live in in/, outputs in out/, the working
// directory of the run. out/sub is a directory and out/plain a file, so that names through
// them reach both outcomes.
struct Sandbox {
  fs::path root, in, out;
  Sandbox() {
    // A memory file system where there is one: every run creates a dozen files.
    std::error_code error;
    const fs::path base = fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "velmorta-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) Fail("mkdtemp failed");
    root = pattern;
    in = root / "in";
    out = root / "out";
    fs::create_directory(in);
    fs::create_directory(out);
    Reset();
  }
  ~Sandbox() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
  void Reset() const {
    for (const auto& entry : fs::directory_iterator(out)) fs::remove_all(entry.path());
    fs::create_directory(out / "sub");
    std::ofstream(out / "plain") << "x";
  }
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Output paths must stay inside out/; a configuration that would write elsewhere is not
// run. `repeated` tells whether two of them name one file.
bool SafeOutputs(const Settings& settings, std::string (&paths)[8], bool& repeated) {
  std::set<std::string> seen;
  repeated = false;
  for (std::size_t n = 1; n <= 7; ++n) {
    const std::string name = n <= settings.OutputFileNames.size() ? settings.OutputFileNames[n - 1] : "";
    const fs::path path = fs::path(settings.OutputDirectory + name);
    if (path.is_absolute()) return false;
    for (const fs::path& part : path) {
      if (part == "..") return false;
    }
    paths[n] = path.lexically_normal().string();
    if (!name.empty() && !seen.insert(paths[n]).second) repeated = true;
  }
  return true;
}

const std::string kBanner = "\r\n\r\n\r\n--------------------------------\r\nvelmorta " VELMORTA_VERSION
                            "\r\n--------------------------------\r\n";

void CheckRunLog(const std::string& log, int status) {
  const std::string head = "*** Message\r\n";
  Check(log.starts_with(head) && log.ends_with(kBanner) && log.size() >= head.size() + kBanner.size(),
        "run log without its first line or closing banner", log);
  const std::string report = log.substr(head.size(), log.size() - head.size() - kBanner.size());
  const std::string complete = std::string(Bytes(Message::ConversionComplete)) + "\r\n";
  if (status == 0) {
    Check(report == complete, "successful run without exactly the completion message", report);
    return;
  }
  Check(status == 1, "exit status neither 0 nor 1");
  bool known = false;
  for (const Message m : {Message::BadOutputDirectory, Message::BadLineWidthDefault, Message::BadFixedLandDefault,
                          Message::BadAuxLandDefault, Message::BadHoleDefault, Message::BadApertureSetting}) {
    known = known || report == "<ERROR>\r\n" + std::string(Bytes(m));
  }
  Check(known, "failed run without exactly one error report", report);
}

}  // namespace
}  // namespace velmorta::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmorta;
  using namespace velmorta::fuzz;
  static const Sandbox box;
  const SplitInput input = Split(std::string_view(reinterpret_cast<const char*>(data), size));

  std::string paths[8];
  bool repeated = false;
  if (!SafeOutputs(ParseConfiguration(input.configuration), paths, repeated)) return 0;

  box.Reset();
  WriteFile(box.in / "velmorta.cfg", input.configuration);
  WriteFile(box.in / "b.pad", input.pad);
  const std::string base = (box.in / "b").string();
  const std::string executable = (box.in / "velmorta").string();
  const char* args[] = {"velmorta", base.c_str()};
  std::ostringstream console, errors;
  // libFuzzer reads its corpus by relative paths: the working directory changes for
  // the run only.
  const fs::path caller = fs::current_path();
  fs::current_path(box.out);
  const int status = RunDriver(args, executable, console, errors);
  fs::current_path(caller);

  Check(console.str().empty(), "console output from a run whose inputs exist", console.str());
  const std::string runLog = ReadFile(box.in / "b_.vel");
  CheckRunLog(runLog, status);
  CheckStandardError(errors.str(), status == 0 ? 0 : 1);
  // The sandbox's file system does not fill up: a refused output is a refused name.
  const bool refused = runLog.find(Bytes(Message::BadOutputDirectory)) != std::string::npos;
  Check(!repeated || refused, "two outputs of one file were written", input.configuration);
  if (refused) Check(ReadFile(box.out / "plain") == "x", "a refused run changed an existing file");

  std::string files[8];
  for (int n = 1; n <= 7; ++n) {
    const fs::path path = box.out / paths[n];
    const bool exists = !paths[n].empty() && fs::is_regular_file(path);
    Check(exists || status == 1, "successful run without all its output files");
    // A refused run wrote nothing: "plain" still holds its own text (checked above).
    if (exists && !(refused && paths[n] == "plain")) files[n] = ReadFile(path);
    if (n == 5) {
      CheckDrill(files[n]);
    } else {
      CheckGerber(files[n], "output file " + std::to_string(n));
    }
  }
  CheckHoleDrawingFollowsDrill(files[5], files[6]);
  CheckTrailers(files, status == 0);
  return 0;
}
