#pragma once
// An RS-274X file of one converted Gerber layer: millimetres, one format statement,
// a round aperture for every code the layer selects, then its operations in order,
// one block per line.

#include <string>
#include <string_view>

#include "export/code_table.hpp"
#include "export/gerber_program.hpp"

namespace velmorta::fab {

// Coordinates are written in 0.000001 mm, so every 0.001 mm value is exact.
inline constexpr std::string_view kFormatStatement = "%FSLAX46Y46*%";

// A coordinate beyond the four integer digits of the format is an error naming
// `fileName` and the offset of its block.
std::string WriteRs274x(const GerberProgram& program, const CodeTable& codes, std::string_view title,
                        std::string_view fileName);

// The RS-274X text of a size in 0.001 mm: millimetres with three decimals.
std::string SizeText(std::int64_t micrometres);

}  // namespace velmorta::fab
