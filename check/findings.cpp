#include "check/findings.hpp"

#include <array>
#include <tuple>

namespace velmorta::check {
namespace {

constexpr std::array<KindTraits, kKindCount> kTraits = {{
    {"track_width", Severity::Error, true, false, "a track (stroke) narrower than the limit"},
    {"pad_size", Severity::Warning, true, false, "a land smaller than the limit"},
    {"drill_min", Severity::Error, true, false, "a plated hole smaller than the smallest drill"},
    {"drill_max", Severity::Error, true, true, "a plated hole larger than the largest drill"},
    {"unplated_min", Severity::Error, true, false, "an unplated hole smaller than the smallest drill"},
    {"unplated_max", Severity::Error, true, true, "an unplated hole larger than the largest drill"},
    {"ring_broken", Severity::Error, true, false,
     "the drill reaches or passes the edge of its land (as large as the land, or off its centre)"},
    {"ring_thin", Severity::Warning, true, false, "an annular ring narrower than the limit"},
    {"no_land", Severity::Error, false, false, "a plated hole with no land on this side"},
    {"undrilled_land", Severity::Error, false, false, "a land with no hole in it"},
    {"lands_touch", Severity::Warning, true, false,
     "lands of two holes touch or overlap (negative: by how much), so their pins are connected"},
    {"spacing", Severity::Error, true, false, "copper of two unconnected groups closer than the limit"},
    {"copper_edge", Severity::Error, true, false, "copper closer to the board edge than the limit (negative: across it)"},
    {"hole_spacing", Severity::Error, true, false, "holes closer than the limit, edge to edge (negative: overlapping)"},
    {"duplicate_hit", Severity::Warning, false, false, "two hits of one size at one place"},
    {"hole_edge", Severity::Error, true, false, "a hole closer to the board edge than the limit (negative: across it)"},
}};

auto Key(const Finding& f) {
  return std::tuple(TraitsOf(f.kind).severity, f.kind, f.layer, f.at.y, f.at.x, f.measured, f.limit, f.first.file,
                    f.first.index, f.second.file, f.second.index, f.subjectA, f.subjectB, f.count);
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

bool ReportOrder(const Finding& a, const Finding& b) { return Key(a) < Key(b); }

}  // namespace velmorta::check
