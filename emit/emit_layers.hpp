#pragma once

#include "base/diagnostics.hpp"
#include "base/output_set.hpp"
#include "board/board.hpp"
#include "config/settings.hpp"

namespace velmorta {

// Writes the bodies and trailers of all seven output files from the board; warns of
// sizes that select no aperture or tool.
void EmitLayers(const Board& board, const Settings& settings, OutputSet& out, Diagnostics& diagnostics);

// 0.2 inch in board units: what the margin widens by when neither extreme of the
// board came from its outline.
inline constexpr std::int32_t kMarginWidening = 5080;

// The margin of the plot: kMarginWidening wider when neither extreme came from the outline.
std::int32_t AdjustedMargin(const Board& board, const Settings& settings);

}  // namespace velmorta
