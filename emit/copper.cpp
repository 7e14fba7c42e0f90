#include "emit/copper.hpp"

#include <cmath>
#include <string>

#include "plot/aperture_rules.hpp"

namespace velmorta {
namespace {

void SelectFixedLineAperture(Emission& e, Output file) {
  SelectCode(e[file],
             GuardedCode(e.lines, e.settings.LineWidthDefault, e.Pitch(), Message::BadLineWidthDefault));
}

void EmitLines(Emission& e, std::span<const Line> lines, BoardSide side, bool sized, Output file) {
  ChangeDetector width;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& line = lines[i];
    if (width.Changed(line.width) && sized) {
      if (const auto key = LineClassKey(e.Pitch(), line.width, side)) {
        SelectAperture(e.lines, *key, e[file]);
      } else if (e.Pitch() != PitchMode::None) {  // without a pitch, nothing is sized: warned once
        e.diagnostics.Warn(Warning::NoSizeClass, [&](Language l) {
          return Say(l, Text::NoLineAperture,
                     {{"section", side == BoardSide::Second ? "TopLine" : "BottomLine"},
                      {"record", std::to_string(i + 1)},
                      {"from", PadPoint(line.x1, line.y1)},
                      {"to", PadPoint(line.x2, line.y2)},
                      {"width", std::to_string(line.width)},
                      {"pitch", std::to_string(PitchDigit(e.Pitch()))}});
        });
      }
    }
    Stroke(e[file], e.At(line.x1, line.y1), e.At(line.x2, line.y2));
  }
}

// Fills are drawn with the aperture of key 3, selected anew before every stroke.
void EmitFills(Emission& e, std::span<const Segment> fills, Output file) {
  for (const Segment& fill : fills) {
    SelectAperture(e.lines, 3, e[file]);
    Stroke(e[file], {e.plot.X(fill.x1), FillY(e.plot.Y(fill.y1))},
           {e.plot.X(fill.x2), FillY(e.plot.Y(fill.y2))});
  }
}

}  // namespace

std::int32_t FillY(std::int32_t outputY) {
  return Wrap32(static_cast<std::int64_t>(std::trunc(static_cast<double>(outputY) - 25.4)));
}

void SelectFixedTopLineAperture(Emission& e) { SelectFixedLineAperture(e, Output::TopCopper); }

void EmitTopLines(Emission& e) {
  const bool sized = e.BySize() && e.board.DoubleSided();
  EmitLines(e, e.board.TopLineTable.Visible(), BoardSide::Second, sized, Output::TopCopper);
}

void EmitTopFills(Emission& e) { EmitFills(e, e.board.TopFillTable.Visible(), Output::TopCopper); }

void SelectFixedBottomLineAperture(Emission& e) { SelectFixedLineAperture(e, Output::BottomCopper); }

void EmitBottomLines(Emission& e) {
  EmitLines(e, e.board.BottomLineTable.Visible(), BoardSide::First, e.BySize(),
            Output::BottomCopper);
}

void EmitBottomFills(Emission& e) { EmitFills(e, e.board.BottomFillTable.Visible(), Output::BottomCopper); }

}  // namespace velmorta
