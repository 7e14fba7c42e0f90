#include "export/read/pad_frame.hpp"

#include "base/diagnostics.hpp"
#include "base/fatal.hpp"
#include "base/files.hpp"
#include "base/outputs.hpp"
#include "base/text_encoding.hpp"
#include "board/pad_reader.hpp"
#include "emit/emit_layers.hpp"

namespace velmorta::fab {

PadFrameRead ReadPadFrame(const std::string& base, const Settings& settings) {
  const std::string padPath = base + ".pad", runLog = RunLogPath(base);
  const std::string pad = SystemTextToUtf8(FileNameOf(padPath)), log = SystemTextToUtf8(FileNameOf(runLog));
  int error = 0;
  const FileHandle file = OpenForReading(padPath, error);
  if (!file) return {std::nullopt, "cannot read " + pad + ": " + ReasonText(error)};
  const std::optional<std::int64_t> read = ModifiedTime(padPath), logged = ModifiedTime(runLog);
  if (read && logged && *read > *logged) return {std::nullopt, pad + " changed after the run log " + log};
  try {
    Diagnostics silent(nullptr, pad);  // the conversion has told the user about the board already
    const Board board = ReadPadExtents(file.get(), settings, silent);
    return {check::PadFrame{board.MinX, board.MaxY, AdjustedMargin(board, settings)}, {}};
  } catch (const FatalStop& stop) {
    return {std::nullopt, stop.detail.empty() ? "cannot read " + pad : stop.detail};
  }
}

}  // namespace velmorta::fab
