#include "export/read/last_conversion.hpp"

#include "base/files.hpp"
#include "base/messages.hpp"
#include "base/outputs.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {

void CheckLastConversion(const std::string& base, const std::array<std::string, 7>& paths) {
  const std::string runLog = RunLogPath(base);
  int error = 0;
  FileHandle log = OpenForReading(runLog, error);
  if (!log) {
    throw ExportError("cannot read the run log " + runLog + ": " + ReasonText(error) +
                      " (convert the board with velmorta first)");
  }
  // A run log is a few lines; a longer file is not one.
  char bytes[4096];
  const std::size_t size = std::fread(bytes, 1, sizeof bytes, log.get());
  const std::string_view text(bytes, size);
  if (text.find(Bytes(Message::ConversionComplete)) == std::string_view::npos) {
    throw ExportError(runLog + ": the last conversion of " + base +
                      " did not complete (its message is in the run log); convert it again");
  }
  const std::optional<std::int64_t> logged = ModifiedTime(runLog);
  for (std::size_t n = 0; n < paths.size(); ++n) {
    const std::optional<std::int64_t> written = ModifiedTime(paths[n]);
    if (!written) continue;  // reading it will say why
    if (logged && *written > *logged) {
      throw ExportError(paths[n] + " changed after the run log " + runLog +
                        ": it is not from the last conversion of " + base +
                        " (another board converted since?); convert " + base + " again");
    }
  }
}

}  // namespace velmorta::fab
