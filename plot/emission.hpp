#pragma once
// What every emission step and generator works from: the board, the settings, the
// output files, the plot transform in force, the indexed configuration lists and where
// warnings go.

#include <string>

#include "base/diagnostics.hpp"
#include "base/output_set.hpp"
#include "board/board.hpp"
#include "config/settings.hpp"
#include "plot/list_index.hpp"
#include "plot/vocabulary.hpp"

namespace velmorta {

struct Emission {
  Emission(const Board& b, const Settings& s, OutputSet& o, std::int32_t margin, Diagnostics& d)
      : board(b), settings(s), out(o), plot(b.MinX, b.MaxY, margin),
        lines(s.LineApertureList), lands(s.LandApertureList), tools(s.ToolList), diagnostics(d),
        apertures(s.Apertures()) {}

  OutFile& operator[](Output which) { return out[which]; }
  Point At(std::int32_t x, std::int32_t y) const { return plot(x, y); }
  PitchMode Pitch() const { return board.PitchMode; }
  bool Fixed() const { return apertures == ApertureMode::Fixed; }
  bool BySize() const { return apertures == ApertureMode::BySize; }

  const Board& board;
  const Settings& settings;
  OutputSet& out;
  const PlotTransform plot;
  const ListIndex lines;  // LineApertureList
  const ListIndex lands;  // LandApertureList
  const ListIndex tools;  // ToolList
  Diagnostics& diagnostics;
  const ApertureMode apertures;
  std::int32_t drillTool = 0;  // the tool last selected in the drill file, for warnings
};

// A board point in pad units, as the pad file gave it, for warnings: "(x,y)".
inline std::string PadPoint(std::int32_t x, std::int32_t y) {
  std::string text(1, '(');
  text.append(std::to_string(x / 254)).append(1, ',').append(std::to_string(y / 254)).append(1, ')');
  return text;
}

}  // namespace velmorta
