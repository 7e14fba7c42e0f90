#include "driver/run.hpp"

#include "base/diagnostics.hpp"
#include "base/executable_path.hpp"
#include "base/fatal.hpp"
#include "base/files.hpp"
#include "board/pad_reader.hpp"
#include "config/config_reader.hpp"
#include "driver/output_files.hpp"
#include "emit/emit_layers.hpp"

namespace velmorta {
namespace {

FileHandle OpenOrStop(const std::string& path, Message message) {
  int error = 0;
  FileHandle file = OpenForReading(path, error);
  if (!file) throw FatalStop{message, true, "cannot open " + path + ": " + ReasonText(error)};
  return file;
}

// The stops without a detail are all about the configuration's lists and defaults.
std::string Explained(const FatalStop& stop, const std::string& configurationPath) {
  if (!stop.detail.empty()) return stop.detail;
  switch (stop.message) {
    case Message::BadLineWidthDefault:
      return configurationPath + ": the line width default (>l) of the board's pitch has no >D line with a code";
    case Message::BadFixedLandDefault:
      return configurationPath + ": the fixed land default (>r) of the board's pitch has no >R line with a code";
    case Message::BadAuxLandDefault:
      return configurationPath + ": the auxiliary land size (>h) of the board's pitch has no >D line";
    case Message::BadHoleDefault:
      return configurationPath + ": the default drill (>d) or a hole's diameter has no >T line with a code";
    case Message::BadApertureSetting:
      return configurationPath + ": a size the board selects has no >D or >R line with a code";
    default: return configurationPath;
  }
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
  const std::string base = args.size() > 1 && args[1] != nullptr ? args[1] : "(null)";
  Diagnostics diagnostics(&errors, base + ".pad", ConfigurationPath(executablePath));

  OutFile runLog;
  if (!runLog.Open(base + "_.vel")) {
    console << Bytes(Message::CannotOpenFile) << '\n';
    return 1;
  }
  runLog.Put("*** Message\n");

  OutputSet out;
  try {
    FileHandle pad = OpenOrStop(diagnostics.PadFile(), Message::CannotOpenFile);
    FileHandle configuration = OpenOrStop(diagnostics.ConfigurationFile(), Message::NoConfigurationFile);
    const Settings settings = ReadConfiguration(configuration.get(), diagnostics);
    out = OpenOutputFiles(settings);
    const Board board = ReadPadFile(pad.get(), settings, out, diagnostics);
    EmitLayers(board, settings, out, diagnostics);
    WriteCompletion(runLog);
  } catch (const FatalStop& stop) {
    runLog.Put("<ERROR>\n");
    runLog.Put(Bytes(stop.message));
    if (stop.alsoOnConsole) console << Bytes(stop.message) << '\n';
    diagnostics.Finish();
    diagnostics.Error(Explained(stop, diagnostics.ConfigurationFile()));
    WriteClosingBanner(runLog);
    // What the output files received so far stays in them, without trailers.
    out.CloseAll();
    runLog.Close();
    return 1;
  }
  diagnostics.Finish();
  out.CloseAll();
  runLog.Close();
  return 0;
}

}  // namespace velmorta
