#include "plot/aux_lands.hpp"

#include "base/fatal.hpp"
#include "plot/aperture_rules.hpp"
#include "plot/extended.hpp"
#include "plot/line_ends.hpp"

namespace velmorta {
namespace {

// With no pitch of 1 or 2 no length is configured; each land is then a dot at its end.
std::int32_t LandLength(const Emission& e) {
  if (e.Pitch() == PitchMode::One) return e.settings.AuxLandLength.first;
  if (e.Pitch() == PitchMode::Two) return e.settings.AuxLandLength.second;
  return 0;
}

// "L1": the first entry upward with the pitch's land size, then the first code from it
// upward (0 when none).
std::int32_t FixedAuxLandCode(const Emission& e) {
  std::optional<std::size_t> at = 0;
  if (e.Pitch() != PitchMode::None) {
    const PitchPair& size = e.settings.AuxLandSize;
    at = e.lines.FirstWithKey(e.Pitch() == PitchMode::One ? size.first : size.second);
    if (!at) StopRun(Message::BadAuxLandDefault);
  }
  const auto withCode = e.lines.NonZeroAtOrAfter(*at);
  return withCode ? e.lines.code(*withCode) : 0;
}

class LandWriter {
 public:
  LandWriter(Emission& e, OutFile& file, bool sized) : e_(e), file_(file), sized_(sized), length_(LandLength(e)) {}

  void Record(const Line& line, EndFlags marked) {
    if (line.x1 == line.x2 && line.y1 == line.y2) {
      Dot(line, marked);
      return;
    }
    const Point first = e_.At(line.x1, line.y1);
    const Point second = e_.At(line.x2, line.y2);
    if (marked.first) {
      ChooseWidth(line);
      Stroke(file_, first, AuxLandInnerPoint(e_.plot, length_, line.x1, line.y1, line.x2, line.y2));
    }
    if (marked.second) {
      ChooseWidth(line);
      Stroke(file_, AuxLandInnerPoint(e_.plot, length_, line.x2, line.y2, line.x1, line.y1), second);
    }
  }

 private:
  // Both ends at one point: the two ends together form one zero-length stroke. When only
  // one end is marked the whole dot is written, so exposure is never left on.
  void Dot(const Line& line, EndFlags marked) {
    if (!marked.first && !marked.second) return;
    ChooseWidth(line);
    const Point p = e_.At(line.x1, line.y1);
    Stroke(file_, p, p);
  }

  void ChooseWidth(const Line& line) {
    if (!sized_ || line.width == memo_) return;
    if (const auto key = AuxLandClassKey(e_.Pitch(), line.width)) SelectAperture(e_.lines, *key, file_);
    memo_ = line.width;
  }

  Emission& e_;
  OutFile& file_;
  const bool sized_;
  const std::int32_t length_;
  std::int32_t memo_ = 0;  // the last width an aperture choice was made for
};

}  // namespace

Point AuxLandInnerPoint(const PlotTransform& plot, std::int32_t length, std::int32_t px, std::int32_t py,
                        std::int32_t ox, std::int32_t oy) {
  const Point p = plot(px, py);
  const Point o = plot(ox, oy);
  const auto toward = [length](std::int32_t from, std::int32_t to) {
    return Wrap32(to > from ? std::int64_t{from} + length : std::int64_t{from} - length);
  };
  if (px == ox) return {p.X, toward(p.Y, o.Y)};
  if (py == oy) return {toward(p.X, o.X), p.Y};
  // Diagonal: each axis moves by c * L toward O, in extended precision.
  return {Wrap32(DiagonalCoordinate(length, o.X > p.X, plot.margin(), px, plot.minX())),
          Wrap32(DiagonalCoordinate(length, o.Y > p.Y, plot.margin(), plot.maxY(), py))};
}

void EmitAuxiliaryLands(Emission& e, BoardSide side) {
  const bool fixed = e.Fixed();
  if (!fixed && !e.BySize()) return;

  const Output output = side == BoardSide::First ? Output::BottomCopper : Output::TopCopper;
  const auto lines =
      side == BoardSide::First ? e.board.BottomLineTable.Visible() : e.board.TopLineTable.Visible();
  OutFile& file = e[output];
  if (fixed) {
    const std::int32_t code = FixedAuxLandCode(e);
    SelectCode(file, code);
    if (side == BoardSide::First && e.board.DoubleSided()) SelectCode(file, code);
  }
  const LineEnds ends(lines, e.board.PartsTable.Visible());
  LandWriter writer(e, file, !fixed);
  VisitWithPrefetch(
      lines, [&ends](const Line& r) { ends.Prefetch(r); },
      [&](std::size_t, const Line& r) { writer.Record(r, ends.Marked(r)); });
}

}  // namespace velmorta
