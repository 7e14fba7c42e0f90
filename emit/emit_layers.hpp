#pragma once

#include "base/diagnostics.hpp"
#include "base/output_set.hpp"
#include "board/board.hpp"
#include "config/settings.hpp"

namespace velmorta {

// Writes the bodies and trailers of all seven output files from the board; warns of
// sizes that select no aperture or tool.
void EmitLayers(const Board& board, const Settings& settings, OutputSet& out, Diagnostics& diagnostics);

// The margin of the plot: 5080 wider when neither extreme came from the outline.
std::int32_t AdjustedMargin(const Board& board, const Settings& settings);

}  // namespace velmorta
