#include "emit/lands_holes.hpp"

#include <string>

#include "base/fatal.hpp"
#include "board/point_table.hpp"
#include "plot/aperture_rules.hpp"

namespace velmorta {
namespace {

// `field` names the code in warnings: "Parts record 3 (130,130): land1".
void SelectSizedLand(Emission& e, std::int32_t code, Output file, std::string_view section, std::size_t i,
                     const Land& land, std::string_view field) {
  if (const auto key = LandClassKey(e.Pitch(), code)) {
    SelectAperture(e.lands, *key, e[file]);
  } else if (e.Pitch() != PitchMode::None) {  // without a pitch, nothing is sized: warned once
    e.diagnostics.Warn(Warning::NoSizeClass, [&](Language l) {
      return Say(l, Text::NoLandAperture,
                 {{"section", std::string(section)},
                  {"record", std::to_string(i + 1)},
                  {"at", PadPoint(land.x, land.y)},
                  {"field", std::string(field)},
                  {"code", std::to_string(code)},
                  {"pitch", std::to_string(PitchDigit(e.Pitch()))}});
    });
  }
}

}  // namespace

void SelectDefaultDrillTool(Emission& e) {
  const std::int32_t code = GuardedCode(e.tools, e.settings.DrillDefault, e.Pitch(), Message::BadHoleDefault);
  SelectTool(e[Output::Drill], code);
  SelectCode(e[Output::HoleDrawing], code);
  e.drillTool = code;
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

  const bool sized = e.BySize();
  ChangeDetector land1;
  VisitWithPrefetch(e.board.PartsTable.Visible(), prefetch, [&](std::size_t i, const Land& part) {
    if (land1.Changed(part.land1) && sized) SelectSizedLand(e, part.land1, Output::Lands1, "Parts", i, part, "land1");
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
  const bool sized = e.BySize();
  ChangeDetector land2;
  const auto parts = e.board.PartsTable.Visible();
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const Land& part = parts[i];
    if (land2.Changed(part.land2) && sized) SelectSizedLand(e, part.land2, Output::Lands2, "Parts", i, part, "land2");
    Flash(e[Output::Lands2], e.At(part.x, part.y));
  }
}

void EmitThroughHoles(Emission& e) {
  const bool sized = e.BySize();
  const auto holes = e.board.ThruHoleTable.Visible();
  for (std::size_t i = 0; i < holes.size(); ++i) {
    const Land& hole = holes[i];
    if (sized) {
      SelectSizedLand(e, hole.land1, Output::Lands1, "ThruHole", i, hole, "land1");
      SelectSizedLand(e, hole.land2, Output::Lands2, "ThruHole", i, hole, "land2");
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
  const auto holes = e.board.HoleTable.Visible();
  for (std::size_t i = 0; i < holes.size(); ++i) {
    const Hole& hole = holes[i];
    if (diameter.Changed(hole.diameter)) {
      // Every entry of this size gets a selection, later entries first, so the earliest
      // is in force afterwards; an entry without a code defers to an earlier one.
      std::size_t end = e.tools.size();
      while (const auto match = e.tools.LastWithKeyBefore(hole.diameter, end)) {
        const auto withCode = e.tools.NonZeroAtOrBefore(*match);
        if (!withCode) StopRun(Message::BadHoleDefault);
        e.drillTool = e.tools.code(*withCode);
        ChangeTool(e[Output::Drill], e.drillTool);
        SelectCode(e[Output::HoleDrawing], e.drillTool);
        end = *withCode;
      }
      if (end == e.tools.size()) {
        e.diagnostics.Warn(Warning::UnknownHoleSize, [&](Language l) {
          return Say(l, Text::NoToolOfDiameter,
                     {{"record", std::to_string(i + 1)},
                      {"at", PadPoint(hole.x, hole.y)},
                      {"diameter", std::to_string(hole.diameter / 10)},
                      {"tool", std::to_string(e.drillTool)}});
        });
      }
    }
    const Point p = e.At(hole.x, hole.y);
    Flash(e[Output::HoleDrawing], p);
    DrillHit(e[Output::Drill], p);
  }
}

}  // namespace velmorta
