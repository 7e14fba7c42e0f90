#include "plot/free_end_lands.hpp"

#include "plot/aperture_rules.hpp"
#include "plot/line_ends.hpp"

namespace velmorta {
namespace {

// A top line carries no land code of its own: line i takes the land1 code of the i-th
// stored part and compares it with that of part i - 1; missing parts count as 0.
std::int32_t PartLand1(const Emission& e, std::size_t i) {
  const auto parts = e.board.PartsTable.Stored();
  return i < parts.size() ? parts[i].land1 : 0;
}

void EmitFreeEnd(Emission& e, Point p, std::int32_t code, std::int32_t previousCode) {
  if (e.BySize() && code != previousCode) {
    if (const auto key = LandClassKey(e.Pitch(), code)) SelectAperture(e.lands, *key, e[Output::Lands1]);
  }
  Flash(e[Output::Lands1], p);
  Flash(e[Output::HoleDrawing], p);
  DrillHit(e[Output::Drill], p);
}

}  // namespace

void EmitFreeEndLands(Emission& e) {
  const auto lines = e.board.TopLineTable.Visible();
  const LineEnds ends(lines, e.board.PartsTable.Visible());
  VisitWithPrefetch(lines, [&ends](const Line& r) { ends.Prefetch(r); }, [&](std::size_t i, const Line& line) {
    const EndFlags free = ends.Free(line);
    if (!free.first && !free.second) return;
    const std::int32_t code = PartLand1(e, i);
    const std::int32_t previousCode = i == 0 ? 0 : PartLand1(e, i - 1);
    if (free.first) EmitFreeEnd(e, e.At(line.x1, line.y1), code, previousCode);
    if (free.second) EmitFreeEnd(e, e.At(line.x2, line.y2), code, previousCode);
  });
}

}  // namespace velmorta
