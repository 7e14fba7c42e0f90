#include "export/export_run.hpp"

#include <cerrno>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

#include "base/executable_path.hpp"
#include "base/files.hpp"
#include "base/text_encoding.hpp"
#include "check/limits.hpp"
#include "check/report.hpp"
#include "check/run_check.hpp"
#include "config/config_reader.hpp"
#include "export/fab_set.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

constexpr std::string_view kUsage =
    "usage: velmorta-export [--config PATH] [--timestamp] [--limits PATH] [--limit NAME=MM]...\n"
    "                       [--fail-on errors|warnings] [--no-check] [--no-kicad] BASE\n"
    "Reads the seven files that velmorta wrote for the board BASE and writes, in the\n"
    "output directory, the set a board house builds from: BOARD-fab/ with RS-274X\n"
    "copper, solder mask, legend and profile, Excellon plated and non-plated drill\n"
    "files, a drill map, a job file, an aperture table, the board check's report\n"
    "(BOARD-check.txt and .csv) and an SVG preview, and BOARD-fab.zip to upload. The\n"
    "configuration is velmorta's (velmorta.cfg beside this program) unless --config\n"
    "names another; --timestamp dates the files.\n"
    "The board check measures the set against a board house's limits, reports each\n"
    "fault and marks it in the preview; it prints a summary. --limits reads the limits\n"
    "from a file, --limit sets one (track, pad, spacing, drill_min, drill_max,\n"
    "unplated_min, unplated_max, ring, copper_edge, hole_spacing, hole_edge, merge; in\n"
    "mm, after the file). --no-check leaves the check out.\n"
    "Beside the set it writes BOARD.kicad_pcb, the board for KiCad 6 or later: each\n"
    "part a footprint, tracks, vias, holes, the outline, nets from the copper's\n"
    "connections and the limits as its design rules; one saved since by KiCad is kept.\n"
    "--no-kicad leaves it out. -h or --help prints this text.\n"
    "Exit status: 0 when the set is written; 1 when it is not (the reason is on\n"
    "standard error and the previous set is kept), or when standard output could not\n"
    "be written; 2 when the set is written but --fail-on errors (any error) or\n"
    "--fail-on warnings (any finding) trips on what the board check found.\n";

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

Options ParseOptions(std::span<const char* const> args) {
  Options options;
  bool haveBase = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i] != nullptr ? args[i] : "";
    // An option's value: "--config PATH" or "--config=PATH".
    const auto value = [&](std::string_view name, std::string_view needs) -> std::optional<std::string> {
      if (arg == name) {
        // The last word is the board while none is given: never the option's value.
        const bool boardNext = !haveBase && i + 2 == args.size();
        if (i + 1 >= args.size() || args[i + 1] == nullptr || boardNext) {
          throw UsageError(std::string(name) + " needs " + std::string(needs) +
                           (boardNext ? " before the board (" + std::string(args[i + 1]) + " is the board)" : ""));
        }
        return args[++i];
      }
      if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
        return std::string(arg.substr(name.size() + 1));
      }
      return std::nullopt;
    };
    if (arg == "-h" || arg == "--help") {
      options.help = true;
    } else if (const auto config = value("--config", "a path")) {
      options.config = *config;
    } else if (arg == "--timestamp") {
      options.timestamp = true;
    } else if (const auto file = value("--limits", "a path")) {
      options.limitsFile = *file;
    } else if (const auto limit = value("--limit", "NAME=MM")) {
      options.limits.push_back(*limit);
    } else if (const auto failOn = value("--fail-on", "errors or warnings")) {
      if (*failOn != "errors" && *failOn != "warnings") {
        throw UsageError("--fail-on takes errors or warnings, not " + *failOn);
      }
      options.failOn = *failOn == "errors" ? check::FailOn::Errors : check::FailOn::Warnings;
    } else if (arg == "--no-check") {
      options.check = false;
    } else if (arg == "--no-kicad") {
      options.kicad = false;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      throw UsageError("unknown option " + std::string(arg));
    } else if (haveBase) {
      throw UsageError("one board at a time: " + options.base + " and " + std::string(arg));
    } else {
      options.base = arg;
      haveBase = true;
    }
  }
  if (!options.help && options.base.empty()) throw UsageError("no board given");
  if (!options.check && options.failOn != check::FailOn::Nothing) {
    throw UsageError("--fail-on needs the board check, which --no-check leaves out");
  }
  return options;
}

// The limits file, then each --limit over it. Throws LimitsError (or ExportError when
// the file cannot be read) before anything is written.
check::Limits LimitsOf(const Options& options) {
  check::Limits limits;
  if (options.limitsFile) {
    limits = check::ParseLimits(ReadWholeFile(*options.limitsFile, "the limits file"),
                                SystemTextToUtf8(*options.limitsFile));
  }
  for (const std::string& setting : options.limits) {
    const std::size_t equals = setting.find('=');
    if (equals == std::string::npos) throw UsageError("--limit takes NAME=MM, not " + setting);
    try {
      check::SetLimit(limits, std::string_view(setting).substr(0, equals), std::string_view(setting).substr(equals + 1));
    } catch (const check::LimitsError& error) {
      throw check::LimitsError("--limit " + setting + ": " + error.what());
    }
  }
  return limits;
}

}  // namespace

std::string DefaultConfigurationPath(const std::string& executablePath) {
  return ConfigurationPath(std::string(DirectoryOf(executablePath)) + "velmorta");
}

namespace {

int ExportAndReport(std::span<const char* const> args, const std::string& executablePath, std::ostream& out,
                    std::ostream& err, StagedSet::StepHook step, std::ostream* progress) {
  try {
    const Options options = ParseOptions(args);
    if (options.help) {
      out << kUsage;
      return 0;
    }
    ExportRequest request;
    request.base = options.base;
    request.configuration = options.config.value_or(DefaultConfigurationPath(executablePath));
    request.timestamp = options.timestamp;
    request.check = options.check;
    request.kicad = options.kicad;
    request.limits = LimitsOf(options);
    request.step = step;
    request.warnings = &err;
    request.progress = progress;
    const ExportResult result = ExportFabSet(request);
    for (const std::string& name : result.files) out << "wrote " << JoinPath(result.folder, name) << '\n';
    out << "wrote " << result.archive << '\n';
    if (!result.kicad.empty()) out << "wrote " << result.kicad << '\n';
    if (!result.kicadWarning.empty()) err << "velmorta-export: warning: " << result.kicadWarning << '\n';
    if (result.warning) err << "velmorta-export: warning: " << *result.warning << '\n';
    if (!result.check) return kWritten;
    out << check::Summary(*result.check);
    if (check::CheckStatus(*result.check, options.failOn) != 0) {
      const bool errors = options.failOn == check::FailOn::Errors;
      err << "velmorta-export: the board check "
          << (result.check->stopped.empty() ? (errors ? "found errors" : "found faults") : "was not done")
          << " (--fail-on " << (errors ? "errors" : "warnings") << "); the set is written all the same\n";
      return kCheckTripped;
    }
    return kWritten;
  } catch (const UsageError& error) {
    err << "velmorta-export: " << error.what() << '\n' << kUsage;
    return kFailed;
  } catch (const ExportError& error) {
    err << "velmorta-export: " << error.what() << '\n';
    return kFailed;
  } catch (const check::LimitsError& error) {
    err << "velmorta-export: " << error.what() << '\n';
    return kFailed;
  } catch (const std::bad_alloc&) {
    // Like any other failure: the staged set is gone, the previous one is in place.
    err << "velmorta-export: out of memory; nothing is changed: close other programs, then export again\n";
    return kFailed;
  }
}

}  // namespace

int RunExport(std::span<const char* const> args, const std::string& executablePath, std::ostream& out,
              std::ostream& err, StagedSet::StepHook step, std::ostream* progress) {
  const int status = ExportAndReport(args, executablePath, out, err, step, progress);
  // A list of what was written, or a summary, that never arrived is no success.
  errno = 0;
  out.flush();
  if (out) return status;
  err << "velmorta-export: cannot write to standard output"
      << (errno != 0 ? ": " + ReasonText(errno) : std::string()) << "; "
      << (status == kFailed ? "nothing is changed" : "the set is written, but the list of its files and the board "
                                                     "check's summary are lost: free the device and run the export again")
      << '\n';
  return kFailed;
}

}  // namespace velmorta::fab
