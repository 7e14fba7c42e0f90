#pragma once
// The aperture or tool codes one file selects, each with its size, its exported number
// and how often the file draws with it.

#include <cstdint>
#include <map>
#include <string_view>

#include "base/output_set.hpp"
#include "config/settings.hpp"
#include "export/aperture_sizes.hpp"
#include "export/drill_program.hpp"
#include "export/gerber_program.hpp"

namespace velmorta::fab {

struct UsedCode {
  std::int32_t code = 0;    // as the converter wrote it
  std::int32_t number = 0;  // as exported
  CodeSize size;
  std::int64_t uses = 0;    // strokes and flashes, or hits
};

// By code, in increasing order.
using CodeTable = std::map<std::int32_t, UsedCode>;

// Every code `file` selects must have a size in the file's list (SizeOfCode).
CodeTable GerberCodes(const GerberProgram& program, const Settings& settings, Output file,
                      std::string_view fileName);
CodeTable DrillCodes(const DrillProgram& program, const Settings& settings, std::string_view fileName);

}  // namespace velmorta::fab
