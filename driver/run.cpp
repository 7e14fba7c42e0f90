#include "driver/run.hpp"

#include <new>
#include <optional>
#include <vector>

#include "base/diagnostics.hpp"
#include "base/executable_path.hpp"
#include "base/fatal.hpp"
#include "base/files.hpp"
#include "base/outputs.hpp"
#include "base/system_language.hpp"
#include "config/config_reader.hpp"
#include "driver/conversion.hpp"
#include "driver/output_files.hpp"

namespace velmorta {
namespace {

FileHandle OpenInput(const std::string& path, Message message, const Diagnostics& diagnostics) {
  int error = 0;
  FileHandle file = OpenForReading(path, error);
  if (!file) {
    throw FatalStop{message, true,
                    diagnostics.Say(Text::CannotOpen, {{"file", diagnostics.Name(path)}, {"reason", ReasonText(error)}})};
  }
  return file;
}

// "--lang ja|en" before the other arguments chooses the language; the arguments after
// it are read as they always are. False when the language is not one of the two.
bool TakeLanguage(std::vector<const char*>& args, Language& language) {
  if (args.size() < 2 || args[1] == nullptr || std::string_view(args[1]) != "--lang") return true;
  const std::optional<Language> named =
      args.size() > 2 && args[2] != nullptr ? LanguageNamed(args[2]) : std::nullopt;
  if (!named) return false;
  language = *named;
  args.erase(args.begin() + 1, args.begin() + 3);
  return true;
}

// The answers without a conversion: to a --lang of no language, --help and --version.
std::optional<int> Answer(const std::vector<const char*>& args, bool languageKnown, const Voice& consoleVoice,
                          std::ostream& console, const Voice& errorsVoice, std::ostream& errors) {
  if (!languageKnown) {
    const Diagnostics diagnostics(&errors, {}, {}, errorsVoice);
    const std::string value = args.size() > 2 && args[2] != nullptr ? Quoted(args[2]) : "\"\"";
    diagnostics.Error(diagnostics.Say(Text::LangValue, {{"value", value}}));
    return 1;
  }
  const std::string_view first = args.size() > 1 && args[1] != nullptr ? args[1] : "";
  if (first == "--help" || first == "-h") {
    console << consoleVoice.Out(Say(consoleVoice.Lang(), Text::ConverterUsage));
    return 0;
  }
  if (first == "--version") {
    console << "velmorta " VELMORTA_VERSION "\n";
    return 0;
  }
  return std::nullopt;
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
  void MustNotBe(const std::string& inputPath, const Diagnostics& diagnostics) {
    int error = 0;
    const FileHandle input = OpenForReading(inputPath, error);
    if (!input || !pending_ || !SameFile(IdentityOf(pending_.get()), IdentityOf(input.get()))) return;
    pending_.reset();  // closed untouched
    throw FatalStop{Message::CannotOpenFile, true,
                    diagnostics.Say(Text::SameFileNothingWritten,
                                    {{"file", diagnostics.Name(path_)}, {"other", diagnostics.Name(inputPath)}})};
  }

  std::optional<FileIdentity> Identity() const {
    return pending_ ? IdentityOf(pending_.get()) : IdentityOf(file_.Handle());
  }

  // Empties the file and writes its first line; nothing when it was given up.
  void Begin(const Diagnostics& diagnostics) {
    if (!pending_) return;
    file_.Adopt(std::move(pending_), path_);
    int error = 0;
    if (!Truncate(file_.Handle(), error)) {
      file_.Close();
      const std::string reason =
          diagnostics.Say(Text::CannotEmpty, {{"file", diagnostics.Name(path_)}, {"reason", ReasonText(error)}});
      throw FatalStop{Message::CannotOpenFile, true, reason};
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
    diagnostics.Error(FailureOf(file_, diagnostics.Lang()));
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
  diagnostics.Error(ReasonOf(stop, diagnostics.ConfigurationFile(), diagnostics.Lang()));
  try {
    runLog.Begin(diagnostics);  // a stop before the inputs were open: the log is emptied now
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

int RunDriver(std::span<const char* const> commandLine, const std::string& executablePath, std::ostream& console,
              std::ostream& errors, Speech speech) {
  std::vector<const char*> args(commandLine.begin(), commandLine.end());
  const bool languageKnown = TakeLanguage(args, speech.language);
  const Voice errorsVoice(speech.language, speech.errors);
  const Voice consoleVoice(speech.language, speech.output);
  if (const auto status = Answer(args, languageKnown, consoleVoice, console, errorsVoice, errors)) return *status;
  const bool named = args.size() > 1 && args[1] != nullptr;
  // Without a name the run goes on with "(null)", as it always has, and says how to call it.
  if (!named) {
    const std::string usage = Say(errorsVoice.Lang(), Text::ConverterUsage);
    errors << errorsVoice.Out(usage.substr(0, usage.find('\n') + 1));
  }
  const std::string base = named ? args[1] : "(null)";
  const std::string padPath = base + ".pad";
  Diagnostics diagnostics(&errors, padPath, ConfigurationPath(executablePath), errorsVoice);

  RunLog runLog(RunLogPath(base));
  if (int error = 0; !runLog.Open(error)) {
    console << Bytes(Message::CannotOpenFile) << '\n';
    diagnostics.Error(
        diagnostics.Say(Text::CannotCreate, {{"file", diagnostics.Name(runLog.Path())}, {"reason", ReasonText(error)}}));
    return 1;
  }
  OutputSet out;
  try {
    runLog.MustNotBe(padPath, diagnostics);
    runLog.MustNotBe(diagnostics.ConfigurationFile(), diagnostics);
    FileHandle pad = OpenInput(padPath, Message::CannotOpenFile, diagnostics);
    FileHandle configuration = OpenInput(diagnostics.ConfigurationFile(), Message::NoConfigurationFile, diagnostics);
    const InputFiles inputs{{padPath, IdentityOf(pad.get())},
                            {diagnostics.ConfigurationFile(), IdentityOf(configuration.get())},
                            {runLog.Path(), runLog.Identity()}};
    runLog.Begin(diagnostics);
    const Settings settings = ReadConfiguration(configuration.get(), diagnostics);
    out = OpenOutputFiles(settings, inputs, diagnostics.Lang());
    Convert(pad.get(), settings, out, diagnostics);
    CloseOutputFiles(out, diagnostics.Lang());  // the completion message never follows a lost byte
    WriteCompletion(runLog.File());
  } catch (const FatalStop& stop) {
    return Stop(stop, runLog, out, console, diagnostics);
  } catch (const std::bad_alloc&) {
    const std::string reason = diagnostics.Say(Text::NotEnoughMemory, {{"file", diagnostics.Name(padPath)}});
    return Stop(FatalStop{Message::OutOfMemory, false, reason}, runLog, out, console, diagnostics);
  }
  diagnostics.Finish();
  return runLog.Close(console, diagnostics) ? 0 : 1;
}

}  // namespace velmorta
