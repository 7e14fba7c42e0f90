#pragma once

#include "board/board.hpp"
#include "driver/output_set.hpp"
#include "driver/settings.hpp"

namespace velmorta {

// Writes the bodies and trailers of all seven output files from the board, then the
// completion message and the closing banner to the run log.
void EmitLayers(const Board& board, const Settings& settings, OutputSet& out, OutFile& runLog);

// The margin of the plot: 5080 wider when neither extreme came from the outline.
std::int32_t AdjustedMargin(const Board& board, const Settings& settings);

}  // namespace velmorta
