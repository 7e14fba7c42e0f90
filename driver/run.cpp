#include "driver/run.hpp"

#include <new>
#include <optional>

#include "base/diagnostics.hpp"
#include "base/executable_path.hpp"
#include "base/fatal.hpp"
#include "base/files.hpp"
#include "base/outputs.hpp"
#include "config/config_reader.hpp"
#include "driver/conversion.hpp"
#include "driver/output_files.hpp"

namespace velmorta {
namespace {

constexpr std::string_view kUsage =
    "Usage: velmorta BASE\n"
    "Converts the board BASE.pad into six Gerber files and a drill file, and writes the run\n"
    "log BASE_.vel. The settings, the output file names and their directory come from the\n"
    "configuration file beside the program: its name with the extension cfg.\n"
    "\n"
    "  -h, --help   print this text and exit\n"
    "  --version    print the version and exit\n"
    "\n"
    "Exit status 0 after a successful run, 1 after any error. The reason of an error and\n"
    "warnings about the board go to standard error.\n";

FileHandle OpenInput(const std::string& path, Message message) {
  int error = 0;
  FileHandle file = OpenForReading(path, error);
  if (!file) throw FatalStop{message, true, "cannot open " + path + ": " + ReasonText(error)};
  return file;
}

// The run log is opened first, so that every run leaves one, but emptied only once it is
// known to be neither input file: a link from it to the pad file must not cost the board.
class RunLog {
 public:
  explicit RunLog(std::string path) : path_(std::move(path)) {}

  bool Open(int& error) {
    bool created = false;
    pending_ = OpenWithoutTruncating(path_, created, error);
    return pending_ != nullptr;
  }

  // Checked before either input is opened, so that no failure to open one empties the other.
  void MustNotBe(const std::string& inputPath) {
    int error = 0;
    const FileHandle input = OpenForReading(inputPath, error);
    if (!input || !pending_ || !SameFile(IdentityOf(pending_.get()), IdentityOf(input.get()))) return;
    pending_.reset();  // closed untouched
    throw FatalStop{Message::CannotOpenFile, true,
                    path_ + " is the same file as " + inputPath + "; nothing is written"};
  }

  std::optional<FileIdentity> Identity() const {
    return pending_ ? IdentityOf(pending_.get()) : IdentityOf(file_.Handle());
  }

  // Empties the file and writes its first line; nothing when it was given up.
  void Begin() {
    if (!pending_) return;
    file_.Adopt(std::move(pending_), path_);
    int error = 0;
    if (!Truncate(file_.Handle(), error)) {
      file_.Close();
      throw FatalStop{Message::CannotOpenFile, true, "cannot empty " + path_ + ": " + ReasonText(error)};
    }
    started_ = true;
    file_.Put("*** Message\n");
  }

  bool Started() const { return started_; }
  OutFile& File() { return file_; }

  // False, with the console message and the reason, when a byte did not reach the file.
  bool Close(std::ostream& console, Diagnostics& diagnostics) {
    file_.Close();
    if (!file_.Failed()) return true;
    console << Bytes(Message::CannotOpenFile) << '\n';
    diagnostics.Error(path_ + ": " + std::string(file_.FailedStep()) + " failed: " + ReasonText(file_.Error()));
    return false;
  }

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  FileHandle pending_;
  OutFile file_;
  bool started_ = false;
};

// The end of every failed run: the report in the run log, the reason on standard error.
int Stop(const FatalStop& stop, RunLog& runLog, OutputSet& out, std::ostream& console, Diagnostics& diagnostics) {
  // What the output files received so far stays in them, without trailers.
  out.CloseAll();
  if (stop.alsoOnConsole) console << Bytes(stop.message) << '\n';
  diagnostics.Finish();
  diagnostics.Error(ReasonOf(stop, diagnostics.ConfigurationFile()));
  try {
    runLog.Begin();  // a stop before the inputs were open: the log is emptied now
  } catch (const FatalStop& failure) {
    console << Bytes(failure.message) << '\n';
    diagnostics.Error(failure.detail);
    return 1;
  }
  if (!runLog.Started()) return 1;
  runLog.File().Put("<ERROR>\n");
  runLog.File().Put(Bytes(stop.message));
  WriteClosingBanner(runLog.File());
  runLog.Close(console, diagnostics);
  return 1;
}

}  // namespace

void WriteClosingBanner(OutFile& runLog) {
  runLog.Put("\n\n\n--------------------------------\n");
  runLog.Put("velmorta " VELMORTA_VERSION "\n");
  runLog.Put("--------------------------------\n");
}

void WriteCompletion(OutFile& runLog) {
  runLog.Put(Bytes(Message::ConversionComplete));
  runLog.Put("\n");
  WriteClosingBanner(runLog);
}

int RunDriver(std::span<const char* const> args, const std::string& executablePath, std::ostream& console,
              std::ostream& errors) {
  const bool named = args.size() > 1 && args[1] != nullptr;
  const std::string_view first = named ? args[1] : "";
  if (first == "--help" || first == "-h") {
    console << kUsage;
    return 0;
  }
  if (first == "--version") {
    console << "velmorta " VELMORTA_VERSION "\n";
    return 0;
  }
  // Without a name the run goes on with "(null)", as it always has, and says how to call it.
  if (!named) errors << kUsage.substr(0, kUsage.find('\n') + 1);
  const std::string base = named ? args[1] : "(null)";
  const std::string padPath = base + ".pad";
  Diagnostics diagnostics(&errors, padPath, ConfigurationPath(executablePath));

  RunLog runLog(RunLogPath(base));
  if (int error = 0; !runLog.Open(error)) {
    console << Bytes(Message::CannotOpenFile) << '\n';
    diagnostics.Error("cannot create " + runLog.Path() + ": " + ReasonText(error));
    return 1;
  }
  OutputSet out;
  try {
    runLog.MustNotBe(padPath);
    runLog.MustNotBe(diagnostics.ConfigurationFile());
    FileHandle pad = OpenInput(padPath, Message::CannotOpenFile);
    FileHandle configuration = OpenInput(diagnostics.ConfigurationFile(), Message::NoConfigurationFile);
    const InputFiles inputs{{padPath, IdentityOf(pad.get())},
                            {diagnostics.ConfigurationFile(), IdentityOf(configuration.get())},
                            {runLog.Path(), runLog.Identity()}};
    runLog.Begin();
    const Settings settings = ReadConfiguration(configuration.get(), diagnostics);
    out = OpenOutputFiles(settings, inputs);
    Convert(pad.get(), settings, out, diagnostics);
    CloseOutputFiles(out);  // the completion message never follows a lost byte
    WriteCompletion(runLog.File());
  } catch (const FatalStop& stop) {
    return Stop(stop, runLog, out, console, diagnostics);
  } catch (const std::bad_alloc&) {
    return Stop(FatalStop{Message::OutOfMemory, false, "not enough memory to convert " + padPath}, runLog, out,
                console, diagnostics);
  }
  diagnostics.Finish();
  return runLog.Close(console, diagnostics) ? 0 : 1;
}

}  // namespace velmorta
