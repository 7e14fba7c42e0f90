#include "driver/run.hpp"

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
  if (!file) throw FatalStop{message, true};
  return file;
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

int RunDriver(std::span<const char* const> args, const std::string& executablePath,
              std::ostream& console) {
  const std::string base = args.size() > 1 && args[1] != nullptr ? args[1] : "(null)";

  OutFile runLog;
  if (!runLog.Open(base + "_.vel")) {
    console << Bytes(Message::CannotOpenFile) << '\n';
    return 1;
  }
  runLog.Put("*** Message\n");

  OutputSet out;
  try {
    FileHandle pad = OpenOrStop(base + ".pad", Message::CannotOpenFile);
    FileHandle configuration = OpenOrStop(ConfigurationPath(executablePath), Message::NoConfigurationFile);
    const Settings settings = ReadConfiguration(configuration.get());
    out = OpenOutputFiles(settings);
    const Board board = ReadPadFile(pad.get(), settings, out);
    EmitLayers(board, settings, out);
    WriteCompletion(runLog);
  } catch (const FatalStop& stop) {
    runLog.Put("<ERROR>\n");
    runLog.Put(Bytes(stop.message));
    if (stop.alsoOnConsole) console << Bytes(stop.message) << '\n';
    WriteClosingBanner(runLog);
    // What the output files received so far stays in them, without trailers.
    out.CloseAll();
    runLog.Close();
    return 1;
  }
  out.CloseAll();
  runLog.Close();
  return 0;
}

}  // namespace velmorta
