#include "export/export_run.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#include "base/executable_path.hpp"
#include "base/files.hpp"
#include "config/config_reader.hpp"
#include "export/export_board.hpp"
#include "export/export_error.hpp"

namespace velmorta::fab {
namespace {

constexpr std::string_view kUsage =
    "usage: velmorta-export [--config PATH] BASE\n"
    "Reads the seven files that velmorta wrote for the board BASE and writes beside them\n"
    "RS-274X Gerber files, a metric drill file with its tool table, an aperture table\n"
    "and an SVG preview. The configuration is velmorta's (velmorta.cfg beside this\n"
    "program) unless --config names another.\n";

// A command line that needs the usage text beside its message.
struct UsageError : ExportError {
  using ExportError::ExportError;
};

struct Options {
  std::string base;
  std::optional<std::string> config;
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

std::string ReadWhole(const std::string& path, std::string_view what) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw ExportError("cannot read " + std::string(what) + " " + path + ": " + std::strerror(errno));
  std::string bytes;
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) throw ExportError("cannot read " + std::string(what) + " " + path);
  return bytes;
}

}  // namespace

std::string DefaultConfigurationPath(const std::string& executablePath) {
  return ConfigurationPath(std::string(DirectoryOf(executablePath)) + "velmorta");
}

int RunExport(std::span<const char* const> args, const std::string& executablePath, std::ostream& out,
              std::ostream& err) {
  try {
    const Options options = ParseOptions(args);
    if (options.help) {
      out << kUsage;
      return 0;
    }
    const std::string board(FileNameOf(options.base));
    if (board.empty()) throw ExportError("the board name " + options.base + " ends in a directory separator");
    const std::string configPath = options.config.value_or(DefaultConfigurationPath(executablePath));
    const Settings settings = ParseConfiguration(ReadWhole(configPath, "the configuration file"));
    const SevenFiles paths = SourcePaths(settings);
    SevenFiles texts;
    for (std::size_t n = 0; n < paths.size(); ++n) {
      texts[n] = ReadWhole(paths[n], "output file " + std::to_string(n + 1));
    }
    const std::vector<FileText> files = ExportBoard(settings, paths, texts, board);
    WriteAllOrNothing(files);
    for (const FileText& file : files) out << "wrote " << file.path << '\n';
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
