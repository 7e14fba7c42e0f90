#pragma once
// Where the pad file's own numbers lie in the Gerber files, so that the check can report
// positions as the user typed them: the converter's MinX and MaxY and the margin it
// plotted with, from BASE.pad read again by the converter's own reader.

#include <optional>
#include <string>

#include "check/board_model.hpp"
#include "config/settings.hpp"

namespace velmorta::fab {

struct PadFrameRead {
  std::optional<check::PadFrame> frame;
  std::string why;  // without a frame, why (UTF-8): "board.pad changed after the run log board_.vel"
};

// `base` as given on the command line. No frame when BASE.pad cannot be read or changed
// after the run log BASE_.vel: it would not be the board that was converted.
PadFrameRead ReadPadFrame(const std::string& base, const Settings& settings);

}  // namespace velmorta::fab
