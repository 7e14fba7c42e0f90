#pragma once
// The aperture and tool table of an exported board, as CSV: one row for every code a
// file selects, with the list it comes from, its key, its size, the number it was
// exported as and how many strokes, flashes or hits the file makes with it.

#include <string>
#include <vector>

#include "base/output_set.hpp"
#include "export/code_table.hpp"

namespace velmorta::fab {

struct ReportLayer {
  Output file{};
  std::string name;  // the converter's file name
  const CodeTable* codes = nullptr;
};

// Rows by list (line, land, tool), then code, then file number.
std::string WriteReport(const std::vector<ReportLayer>& layers);

}  // namespace velmorta::fab
