#pragma once
// The whole export of one converted board, in memory: the seven converter files in,
// six RS-274X files, a drill file, the aperture table and the preview out.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "config/settings.hpp"
#include "export/atomic_write.hpp"

namespace velmorta::fab {

// Output files 1 to 7 at index 0 to 6.
using SevenFiles = std::array<std::string, 7>;

// Where the converter wrote its seven files by this configuration.
SevenFiles SourcePaths(const Settings& settings);

// The exported name of a converter file, beside it: "_fab" before the extension
// (out/bottom.gbr -> out/bottom_fab.gbr, out/drill.drl -> out/drill_fab.drl).
std::string FabPath(const std::string& sourcePath);

// `texts` are the files at `paths`. The report and the preview are named after the
// board: <board>_apertures.csv and <board>_preview.svg in the output directory.
// Throws ExportError for the first file that cannot be exported.
std::vector<FileText> ExportBoard(const Settings& settings, const SevenFiles& paths, const SevenFiles& texts,
                                  std::string_view boardName);

}  // namespace velmorta::fab
