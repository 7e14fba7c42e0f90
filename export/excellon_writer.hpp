#pragma once
// An Excellon-style drill file that leaves nothing to guess: a metric header with the
// diameter of every tool, then the tool selections and hits in their order, every
// coordinate in millimetres with a decimal point, and M30.

#include <string>
#include <string_view>

#include "export/code_table.hpp"
#include "export/read/drill_program.hpp"

namespace velmorta::fab {

std::string WriteExcellon(const DrillProgram& program, const CodeTable& tools, std::string_view title);

}  // namespace velmorta::fab
