#pragma once
// Whether the converter's seven files are what velmorta makes of the board's pad file
// with this configuration. Their dates cannot tell: files copied with their times, a
// restored backup, two boards converted within one tick of a file system's clock. So
// the pad file is converted again, in memory, by the converter's own code, and each
// file compared with those bytes as they come: nothing the size of the output is held.

#include <array>
#include <optional>
#include <string>

#include "check/board_model.hpp"
#include "config/settings.hpp"

namespace velmorta::fab {

struct BoundConversion {
  // Without a pad file (converter files kept without it) only the run log's dates
  // were checked.
  bool verified = false;
  bool doubleSided = false;                // the pad file's Type, when verified
  std::optional<check::PadFrame> frame;    // the plot's frame, when verified
};

// `base` as given on the command line; `settings` read from the configuration;
// `paths` the seven files it names. With BASE.pad there, throws ExportError when a
// file is not the bytes of its conversion or the conversion stops; without it, makes
// the run log's checks (CheckLastConversion). Writes nothing.
BoundConversion BindToConversion(const std::string& base, const Settings& settings,
                                 const std::array<std::string, 7>& paths);

}  // namespace velmorta::fab
