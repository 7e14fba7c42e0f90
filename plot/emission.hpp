#pragma once
// What every emission step and generator works from: the board, the settings, the
// output files, the plot transform in force and the indexed configuration lists.

#include "base/output_set.hpp"
#include "board/board.hpp"
#include "config/settings.hpp"
#include "plot/list_index.hpp"
#include "plot/vocabulary.hpp"

namespace velmorta {

struct Emission {
  Emission(const Board& b, const Settings& s, OutputSet& o, std::int32_t margin)
      : board(b), settings(s), out(o), plot(b.MinX, b.MaxY, margin),
        lines(s.LineApertureList), lands(s.LandApertureList), tools(s.ToolList) {}

  OutFile& operator[](Output which) { return out[which]; }
  Point At(std::int32_t x, std::int32_t y) const { return plot(x, y); }
  int Pitch() const { return board.PitchMode; }
  std::string_view ApertureMode() const { return settings.ApertureMode(); }

  const Board& board;
  const Settings& settings;
  OutputSet& out;
  const PlotTransform plot;
  const ListIndex lines;  // LineApertureList
  const ListIndex lands;  // LandApertureList
  const ListIndex tools;  // ToolList
};

}  // namespace velmorta
