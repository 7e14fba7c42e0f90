#pragma once

#include <cstdio>
#include <string_view>

#include "config/settings.hpp"

namespace velmorta {

// Reads a whole configuration file. Never fails: malformed lines yield zeros or nothing.
Settings ReadConfiguration(std::FILE* file);
Settings ParseConfiguration(std::string_view bytes);

}  // namespace velmorta
