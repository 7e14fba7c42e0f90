#pragma once

#include <cstdio>
#include <string_view>

#include "base/diagnostics.hpp"
#include "config/settings.hpp"

namespace velmorta {

// Reads a whole configuration file: malformed lines yield zeros or nothing, and a line
// with an unknown key a warning. A read error ends the run like a missing file.
Settings ReadConfiguration(std::FILE* file, Diagnostics& diagnostics);
Settings ParseConfiguration(std::string_view bytes, Diagnostics& diagnostics);
// The same, without warnings.
Settings ParseConfiguration(std::string_view bytes);

}  // namespace velmorta
