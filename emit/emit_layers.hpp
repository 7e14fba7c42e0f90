#pragma once

#include "base/output_set.hpp"
#include "board/board.hpp"
#include "config/settings.hpp"

namespace velmorta {

// Writes the bodies and trailers of all seven output files from the board.
void EmitLayers(const Board& board, const Settings& settings, OutputSet& out);

// The margin of the plot: 5080 wider when neither extreme came from the outline.
std::int32_t AdjustedMargin(const Board& board, const Settings& settings);

}  // namespace velmorta
