#include "emit/lands_holes.hpp"

#include "base/fatal.hpp"
#include "board/point_table.hpp"
#include "plot/aperture_rules.hpp"

namespace velmorta {
namespace {

void SelectSizedLand(Emission& e, std::int32_t code, Output file) {
  if (const auto key = LandClassKey(e.Pitch(), code)) SelectAperture(e.lands, *key, e[file]);
}

}  // namespace

void SelectDefaultDrillTool(Emission& e) {
  const std::int32_t code = GuardedCode(e.tools, e.settings.DrillDefault, e.Pitch(), Message::BadHoleDefault);
  SelectTool(e[Output::Drill], code);
  SelectCode(e[Output::HoleDrawing], code);
}

void SelectFixedLandAperture(Emission& e) {
  const std::int32_t code =
      GuardedCode(e.lands, e.settings.FixedLandDefault, e.Pitch(), Message::BadFixedLandDefault);
  SelectCode(e[Output::Lands1], code);
  if (e.board.DoubleSided()) SelectCode(e[Output::Lands2], code);
}

void EmitPartLandsFirstSide(Emission& e) {
  const auto holes = e.board.HoleTable.Visible();
  PointTable holePositions(holes.size());
  const auto prefetch = [&holePositions](const auto& r) { holePositions.Prefetch(r.x, r.y); };
  VisitWithPrefetch(holes, prefetch, [&](std::size_t, const Hole& h) { holePositions.Add(h.x, h.y); });

  const bool sized = e.ApertureMode() == "L2";
  ChangeDetector land1;
  VisitWithPrefetch(e.board.PartsTable.Visible(), prefetch, [&](std::size_t, const Land& part) {
    if (land1.Changed(part.land1) && sized) SelectSizedLand(e, part.land1, Output::Lands1);
    const Point p = e.At(part.x, part.y);
    Flash(e[Output::Lands1], p);
    // A land with a hole record is drawn and drilled with the holes, in their tool.
    if (!holePositions.Contains(part.x, part.y)) {
      Flash(e[Output::HoleDrawing], p);
      DrillHit(e[Output::Drill], p);
    }
  });
}

void EmitPartLandsSecondSide(Emission& e) {
  const bool sized = e.ApertureMode() == "L2";
  ChangeDetector land2;
  for (const Land& part : e.board.PartsTable.Visible()) {
    if (land2.Changed(part.land2) && sized) SelectSizedLand(e, part.land2, Output::Lands2);
    Flash(e[Output::Lands2], e.At(part.x, part.y));
  }
}

void EmitThroughHoles(Emission& e) {
  const bool sized = e.ApertureMode() == "L2";
  for (const Land& hole : e.board.ThruHoleTable.Visible()) {
    if (sized) {
      SelectSizedLand(e, hole.land1, Output::Lands1);
      SelectSizedLand(e, hole.land2, Output::Lands2);
    }
    const Point p = e.At(hole.x, hole.y);
    Flash(e[Output::Lands1], p);
    Flash(e[Output::Lands2], p);
    Flash(e[Output::HoleDrawing], p);
    ThroughHoleHit(e[Output::Drill], p);
  }
}

void EmitHoles(Emission& e) {
  ChangeDetector diameter;
  for (const Hole& hole : e.board.HoleTable.Visible()) {
    if (diameter.Changed(hole.diameter)) {
      // Every entry of this size gets a selection, later entries first, so the earliest
      // is in force afterwards; an entry without a code defers to an earlier one.
      std::size_t end = e.tools.size();
      while (const auto match = e.tools.LastWithKeyBefore(hole.diameter, end)) {
        const auto withCode = e.tools.NonZeroAtOrBefore(*match);
        if (!withCode) StopRun(Message::BadHoleDefault);
        ChangeTool(e[Output::Drill], e.tools.code(*withCode));
        SelectCode(e[Output::HoleDrawing], e.tools.code(*withCode));
        end = *withCode;
      }
    }
    const Point p = e.At(hole.x, hole.y);
    Flash(e[Output::HoleDrawing], p);
    DrillHit(e[Output::Drill], p);
  }
}

}  // namespace velmorta
