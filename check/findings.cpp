#include "check/findings.hpp"

#include <array>
#include <tuple>

namespace velmorta::check {
namespace {

constexpr std::array<KindTraits, kKindCount> kTraits = {{
    {"track_width", Severity::Error, true, false, Text::KindTrackWidth},
    {"pad_size", Severity::Warning, true, false, Text::KindPadSize},
    {"drill_min", Severity::Error, true, false, Text::KindDrillMin},
    {"drill_max", Severity::Error, true, true, Text::KindDrillMax},
    {"unplated_min", Severity::Error, true, false, Text::KindUnplatedMin},
    {"unplated_max", Severity::Error, true, true, Text::KindUnplatedMax},
    {"ring_broken", Severity::Error, true, false, Text::KindRingBroken},
    {"ring_thin", Severity::Warning, true, false, Text::KindRingThin},
    {"no_land", Severity::Error, false, false, Text::KindNoLand},
    {"undrilled_land", Severity::Error, false, false, Text::KindUndrilledLand},
    {"lands_touch", Severity::Warning, true, false, Text::KindLandsTouch},
    {"spacing", Severity::Error, true, false, Text::KindSpacing},
    {"copper_edge", Severity::Error, true, false, Text::KindCopperEdge},
    {"hole_spacing", Severity::Error, true, false, Text::KindHoleSpacing},
    {"duplicate_hit", Severity::Warning, false, false, Text::KindDuplicateHit},
    {"hole_edge", Severity::Error, true, false, Text::KindHoleEdge},
}};

auto Key(const Finding& f) {
  return std::tuple(TraitsOf(f.kind).severity, f.kind, f.layer, f.at.y, f.at.x, f.measured, f.limit, f.first.file,
                    f.first.ordinal, f.second.file, f.second.ordinal, f.subjectA, f.subjectB, f.count);
}

}  // namespace

const KindTraits& TraitsOf(Kind kind) { return kTraits[static_cast<std::size_t>(kind)]; }

Layer LayerOf(Side side) { return side == Side::Bottom ? Layer::Bottom : Layer::Top; }

std::string_view NameOf(Layer layer) {
  switch (layer) {
    case Layer::Bottom: return "bottom";
    case Layer::Top: return "top";
    case Layer::Drill: return "drill";
  }
  return "";
}

Text TextOf(Layer layer) {
  switch (layer) {
    case Layer::Bottom: return Text::LayerBottom;
    case Layer::Top: return Text::LayerTop;
    case Layer::Drill: return Text::LayerDrill;
  }
  return Text::LayerDrill;
}

bool ReportOrder(const Finding& a, const Finding& b) { return Key(a) < Key(b); }

}  // namespace velmorta::check
