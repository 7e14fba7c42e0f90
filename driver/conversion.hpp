#pragma once
// The conversion proper, in one place for the converter's run and for a program that
// must know what the converter makes of a pad file without writing it.

#include <cstdio>
#include <string>

#include "base/diagnostics.hpp"
#include "base/fatal.hpp"
#include "base/output_set.hpp"
#include "board/board.hpp"
#include "config/settings.hpp"

namespace velmorta {

// Reads the pad file and writes the seven files into `out`, headers, bodies and
// trailers, without closing them. Returns the board (its type, its frame). Throws
// FatalStop.
Board Convert(std::FILE* pad, const Settings& settings, OutputSet& out, Diagnostics& diagnostics);

// What standard error says of a fatal stop: its detail, or for the stops about the
// configuration's lists and defaults, which line is missing from `configurationPath`
// (as bytes of the system's encoding), in `language`.
std::string ReasonOf(const FatalStop& stop, const std::string& configurationPath,
                     Language language = Language::English);

}  // namespace velmorta
