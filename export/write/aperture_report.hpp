#pragma once
// The aperture and tool table of an exported set, as CSV: one row for every aperture
// or tool of every file, with the converter code it came from, its list and key, its
// size as exported and how many strokes, flashes or hits the file makes with it.

#include <array>
#include <string>
#include <vector>

#include "export/write/fab_writers.hpp"

namespace velmorta::fab {

struct ReportLayer {
  std::string name;                       // the exported file, UTF-8
  bool drill = false;                     // T numbers instead of D
  std::vector<ApertureUse> uses;
  std::array<std::string, 7> sources;     // the converter's file names, UTF-8
};

// Header "file,exported_as,function,size_mm,source,list,code,key,uses"; rows in the
// order of the files, then by number.
std::string WriteReport(const std::vector<ReportLayer>& layers);

}  // namespace velmorta::fab
