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
    throw ExportError(Text::CannotReadRunLog, {{"file", runLog}, {"reason", ReasonText(error)}});
  }
  // A run log is a few lines; a longer file is not one.
  char bytes[4096];
  const std::size_t size = std::fread(bytes, 1, sizeof bytes, log.get());
  const std::string_view text(bytes, size);
  if (text.find(Bytes(Message::ConversionComplete)) == std::string_view::npos) {
    throw ExportError(Text::ConversionIncomplete, {{"file", runLog}, {"base", base}});
  }
  const std::optional<std::int64_t> logged = ModifiedTime(runLog);
  for (std::size_t n = 0; n < paths.size(); ++n) {
    const std::optional<std::int64_t> written = ModifiedTime(paths[n]);
    if (!written) continue;  // reading it will say why
    if (logged && *written > *logged) {
      throw ExportError(Text::ChangedAfterRunLog, {{"file", paths[n]}, {"log", runLog}, {"base", base}});
    }
  }
}

}  // namespace velmorta::fab
