#include "export/export_run.hpp"

#include <cerrno>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

#include "base/executable_path.hpp"
#include "base/files.hpp"
#include "base/system_language.hpp"
#include "base/text_encoding.hpp"
#include "base/voice.hpp"
#include "base/diagnostics.hpp"
#include "check/limits.hpp"
#include "check/report.hpp"
#include "check/run_check.hpp"
#include "config/config_reader.hpp"
#include "export/fab_set.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

// Exit statuses: a failure (nothing written) told apart from a set written whose board
// check trips --fail-on.
constexpr int kWritten = 0;
constexpr int kFailed = 1;
constexpr int kCheckTripped = 2;

// A command line that needs the usage text beside its message.
struct UsageError : ExportError {
  using ExportError::ExportError;
};

struct Options {
  std::string base;
  std::optional<std::string> config;
  bool timestamp = false;
  bool help = false;
  bool check = true;
  bool kicad = true;
  std::optional<std::string> limitsFile;
  std::vector<std::string> limits;  // NAME=MM, in order
  check::FailOn failOn = check::FailOn::Nothing;
};

// An option's value, "--config PATH" or "--config=PATH", at args[i]; nothing for another
// option. The last word is the board while none is given: never the option's value.
std::optional<std::string> ValueOf(std::span<const char* const> args, std::size_t& i, std::string_view name,
                                   Text needs, bool haveBase) {
  const std::string_view arg = args[i] != nullptr ? args[i] : "";
  if (arg == name) {
    const bool boardNext = !haveBase && i + 2 == args.size();
    if (i + 1 >= args.size() || args[i + 1] == nullptr) {
      throw UsageError(Text::OptionNeeds, {{"option", std::string(name)}, {"needs", needs}});
    }
    if (boardNext) {
      throw UsageError(Text::OptionNeedsBeforeBoard,
                       {{"option", std::string(name)}, {"needs", needs}, {"board", args[i + 1]}});
    }
    return args[++i];
  }
  if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
    return std::string(arg.substr(name.size() + 1));
  }
  return std::nullopt;
}

check::FailOn FailOnNamed(const std::string& value) {
  if (value != "errors" && value != "warnings") throw UsageError(Text::FailOnValue, {{"value", value}});
  return value == "errors" ? check::FailOn::Errors : check::FailOn::Warnings;
}

Options ParseOptions(std::span<const char* const> args) {
  Options options;
  bool haveBase = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i] != nullptr ? args[i] : "";
    const auto value = [&](std::string_view name, Text needs) { return ValueOf(args, i, name, needs, haveBase); };
    if (arg == "-h" || arg == "--help") {
      options.help = true;
    } else if (const auto config = value("--config", Text::NeedsPath)) {
      options.config = *config;
    } else if (arg == "--timestamp") {
      options.timestamp = true;
    } else if (const auto file = value("--limits", Text::NeedsPath)) {
      options.limitsFile = *file;
    } else if (const auto limit = value("--limit", Text::NeedsLimit)) {
      options.limits.push_back(*limit);
    } else if (const auto failOn = value("--fail-on", Text::NeedsFailOn)) {
      options.failOn = FailOnNamed(*failOn);
    } else if (const auto language = value("--lang", Text::NeedsLanguage)) {
      // Chosen before the rest (LanguageOf); here only refused when it names none.
      if (!LanguageNamed(*language)) throw UsageError(Text::LangValue, {{"value", Quoted(*language)}});
    } else if (arg == "--no-check") {
      options.check = false;
    } else if (arg == "--no-kicad") {
      options.kicad = false;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      throw UsageError(Text::UnknownOption, {{"option", std::string(arg)}});
    } else if (haveBase) {
      throw UsageError(Text::OneBoard, {{"first", options.base}, {"second", std::string(arg)}});
    } else {
      options.base = arg;
      haveBase = true;
    }
  }
  if (!options.help && options.base.empty()) throw UsageError(Text::NoBoard);
  if (!options.check && options.failOn != check::FailOn::Nothing) throw UsageError(Text::FailOnNeedsCheck);
  return options;
}

// The language of --lang, wherever it stands, over the system's; every other message,
// even about the command line, is told in it. One that names none is refused with the
// other options, in the system's language.
Language LanguageOf(std::span<const char* const> args, Language language) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i] != nullptr ? args[i] : "";
    std::optional<std::string_view> value;
    if (arg == "--lang" && i + 1 < args.size() && args[i + 1] != nullptr) value = args[i + 1];
    if (arg.starts_with("--lang=")) value = arg.substr(7);
    if (!value) continue;
    language = LanguageNamed(*value).value_or(language);
  }
  return language;
}

// The limits file, then each --limit over it, told in `language`; before anything is written.
check::Limits LimitsOf(const Options& options, Language language) {
  check::Limits limits;
  try {
    if (options.limitsFile) {
      limits = check::ParseLimits(ReadWholeFile(*options.limitsFile, Text::TheLimitsFile),
                                  SystemTextToUtf8(*options.limitsFile), {}, language);
    }
  } catch (const check::LimitsError& error) {
    throw ExportError(Text::Verbatim, {{"text", AsIs(error.what())}});
  }
  for (const std::string& setting : options.limits) {
    const std::size_t equals = setting.find('=');
    if (equals == std::string::npos) throw UsageError(Text::LimitNotNameMm, {{"setting", setting}});
    try {
      check::SetLimit(limits, std::string_view(setting).substr(0, equals), std::string_view(setting).substr(equals + 1),
                      language);
    } catch (const check::LimitsError& error) {
      throw ExportError(Text::LimitOption, {{"setting", setting}, {"error", AsIs(error.what())}});
    }
  }
  return limits;
}

}  // namespace

std::string DefaultConfigurationPath(const std::string& executablePath) {
  return ConfigurationPath(std::string(DirectoryOf(executablePath)) + "velmorta");
}

namespace {

// The two streams, each in its voice.
struct Streams {
  std::ostream& out;
  std::ostream& err;
  Voice outVoice, errVoice;

  void Say(Text key, std::initializer_list<Arg> args = {}) const {
    out << outVoice.Out(velmorta::Say(outVoice.Lang(), key, args));
  }
  void Tell(Text line, const std::string& text) const {
    err << errVoice.Out(velmorta::Say(errVoice.Lang(), line, {{"text", text}})) << '\n';
  }
};

// What was written, and the board check's summary; the exit status.
int Report(const ExportResult& result, const Options& options, const Streams& streams) {
  const Language language = streams.outVoice.Lang();
  const auto wrote = [&](const std::string& path) {
    streams.Say(Text::Wrote, {{"file", NameIn(language, path)}});
    streams.out << '\n';
  };
  for (const std::string& name : result.files) wrote(JoinPath(result.folder, name));
  wrote(result.archive);
  if (!result.kicad.empty()) wrote(result.kicad);
  if (result.kicadWarning) streams.Tell(Text::ExportWarningLine, result.kicadWarning(streams.errVoice.Lang()));
  if (result.warning) streams.Tell(Text::ExportWarningLine, result.warning(streams.errVoice.Lang()));
  if (!result.check) return kWritten;
  streams.out << streams.outVoice.Out(check::Summary(*result.check, language));
  if (check::CheckStatus(*result.check, options.failOn) == 0) return kWritten;
  const bool errors = options.failOn == check::FailOn::Errors;
  const Text why = !result.check->stopped.empty() ? Text::FailOnNotDone
                   : errors                       ? Text::FailOnErrors
                                                  : Text::FailOnWarnings;
  streams.Tell(Text::ExportErrorLine,
               velmorta::Say(streams.errVoice.Lang(), why, {{"level", errors ? "errors" : "warnings"}}));
  return kCheckTripped;
}

int ExportAndReport(std::span<const char* const> args, const std::string& executablePath, const Streams& streams,
                    Language language, StagedSet::StepHook step, std::ostream* progress) {
  try {
    const Options options = ParseOptions(args);
    if (options.help) {
      streams.Say(Text::ExportUsage);
      return kWritten;
    }
    ExportRequest request;
    request.base = options.base;
    request.configuration = options.config.value_or(DefaultConfigurationPath(executablePath));
    request.timestamp = options.timestamp;
    request.check = options.check;
    request.kicad = options.kicad;
    request.limits = LimitsOf(options, language);
    request.step = step;
    request.warnings = &streams.err;
    request.voice = streams.errVoice;
    request.language = language;
    request.progress = progress;
    return Report(ExportFabSet(request), options, streams);
  } catch (const ExportError& error) {
    streams.Tell(Text::ExportErrorLine, error.In(streams.errVoice.Lang()));
    if (dynamic_cast<const UsageError*>(&error) != nullptr) streams.err << streams.errVoice.Out(
        velmorta::Say(streams.errVoice.Lang(), Text::ExportUsage));
    return kFailed;
  } catch (const std::bad_alloc&) {
    // Like any other failure: the staged set is gone, the previous one is in place.
    streams.Tell(Text::ExportErrorLine, velmorta::Say(streams.errVoice.Lang(), Text::ExportOutOfMemory));
    return kFailed;
  }
}

}  // namespace

int RunExport(std::span<const char* const> args, const std::string& executablePath, std::ostream& out,
              std::ostream& err, Speech speech, StagedSet::StepHook step, std::ostream* progress) {
  speech.language = LanguageOf(args, speech.language);
  const Streams streams{out, err, Voice(speech.language, speech.output), Voice(speech.language, speech.errors)};
  const int status = ExportAndReport(args, executablePath, streams, speech.language, step, progress);
  // A list of what was written, or a summary, that never arrived is no success.
  errno = 0;
  out.flush();
  if (out) return status;
  const Language language = streams.errVoice.Lang();
  const std::string consequence = Say(language, status == kFailed ? Text::NothingChanged : Text::ListLost);
  streams.Tell(Text::ExportErrorLine,
               errno != 0 ? Say(language, Text::StdoutLostReason, {{"reason", ReasonText(errno)}, {"consequence", consequence}})
                          : Say(language, Text::StdoutLost, {{"consequence", consequence}}));
  return kFailed;
}

}  // namespace velmorta::fab
