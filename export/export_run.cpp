#include "export/export_run.hpp"

#include <optional>
#include <string_view>

#include "base/executable_path.hpp"
#include "base/files.hpp"
#include "config/config_reader.hpp"
#include "export/fab_set.hpp"
#include "export/export_error.hpp"

namespace velmorta::fab {
namespace {

constexpr std::string_view kUsage =
    "usage: velmorta-export [--config PATH] [--timestamp] BASE\n"
    "Reads the seven files that velmorta wrote for the board BASE and writes, in the\n"
    "output directory, the set a board house builds from: BOARD-fab/ with RS-274X\n"
    "copper, solder mask, legend and profile, Excellon plated and non-plated drill\n"
    "files, a drill map, a job file, an aperture table and an SVG preview, and\n"
    "BOARD-fab.zip to upload. The configuration is velmorta's (velmorta.cfg beside this\n"
    "program) unless --config names another; --timestamp dates the files; -h or --help\n"
    "prints this text.\n";

// A command line that needs the usage text beside its message.
struct UsageError : ExportError {
  using ExportError::ExportError;
};

struct Options {
  std::string base;
  std::optional<std::string> config;
  bool timestamp = false;
  bool help = false;
};

Options ParseOptions(std::span<const char* const> args) {
  Options options;
  bool haveBase = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i] != nullptr ? args[i] : "";
    if (arg == "-h" || arg == "--help") {
      options.help = true;
    } else if (arg == "--config") {
      if (i + 1 >= args.size() || args[i + 1] == nullptr) throw UsageError("--config needs a path");
      options.config = args[++i];
    } else if (arg == "--timestamp") {
      options.timestamp = true;
    } else if (arg.substr(0, 9) == "--config=") {
      options.config = std::string(arg.substr(9));
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
  return options;
}

}  // namespace

std::string DefaultConfigurationPath(const std::string& executablePath) {
  return ConfigurationPath(std::string(DirectoryOf(executablePath)) + "velmorta");
}

int RunExport(std::span<const char* const> args, const std::string& executablePath, std::ostream& out,
              std::ostream& err, StagedSet::Rename rename) {
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
    request.rename = rename;
    const ExportResult result = ExportFabSet(request);
    for (const std::string& name : result.files) out << "wrote " << JoinPath(result.folder, name) << '\n';
    out << "wrote " << result.archive << '\n';
    return 0;
  } catch (const UsageError& error) {
    err << "velmorta-export: " << error.what() << '\n' << kUsage;
    return 1;
  } catch (const ExportError& error) {
    err << "velmorta-export: " << error.what() << '\n';
    return 1;
  }
}

}  // namespace velmorta::fab
