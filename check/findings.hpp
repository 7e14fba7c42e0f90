#pragma once
// What the check finds: a kind of fault, where, the measure and the limit it broke, and
// what it is about (for reporting one fault once).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog.hpp"
#include "check/board_model.hpp"

namespace velmorta::check {

enum class Kind : std::uint8_t {
  TrackWidth,     // a stroke narrower than `track`
  PadSize,        // a land smaller than `pad`
  DrillMin,       // a plated hole smaller than `drill_min`
  DrillMax,       // a plated hole larger than `drill_max`
  UnplatedMin,    // an unplated hole smaller than `unplated_min`
  UnplatedMax,    // an unplated hole larger than `unplated_max`
  RingBroken,     // the drill reaches or passes its land's edge (as large as the land, or off its centre)
  RingThin,       // a ring narrower than `ring`
  NoLand,         // a plated hole without a land on a copper side
  UndrilledLand,  // a land without a hole
  LandsTouch,     // lands of two holes touch or overlap: their pins are connected
  Spacing,        // copper of two unconnected groups closer than `spacing`
  CopperEdge,     // copper closer to the board edge than `copper_edge` (or across it)
  HoleSpacing,    // holes closer than `hole_spacing`, edge to edge (or overlapping)
  DuplicateHit,   // two hits of the same size at the same place
  HoleEdge,       // a hole closer to the board edge than `hole_edge` (or across it)
};
inline constexpr int kKindCount = 16;

enum class Severity : std::uint8_t { Error, Warning };

struct KindTraits {
  std::string_view name;  // as the report writes it
  Severity severity;
  bool measured;       // has a measure and a limit
  bool largerIsWorse;  // a maximum, not a minimum
  Text meaning;
};
const KindTraits& TraitsOf(Kind kind);

// Where a finding is: a copper side, or the drill file.
enum class Layer : std::uint8_t { Bottom, Top, Drill };
Layer LayerOf(Side side);
std::string_view NameOf(Layer layer);  // as the CSV writes it
Text TextOf(Layer layer);              // as a person reads it

struct Finding {
  Kind kind = Kind::TrackWidth;
  Layer layer = Layer::Bottom;
  Point at;               // in the Gerber frame
  double measured = 0;    // 0.001 mm
  std::int32_t limit = 0; // 0.001 mm
  Origin first, second;   // the features or holes concerned; second.file is 0 for one
  // What it is about: the group (or groups) of copper, or the hole (or holes). Findings
  // of one kind, layer and subject near one another are one fault.
  std::uint32_t subjectA = 0, subjectB = 0;
  std::uint32_t count = 1;  // findings reported as this one
  friend bool operator==(const Finding&, const Finding&) = default;
};

// A total order on everything a finding reports, so that sorting is deterministic.
bool ReportOrder(const Finding& a, const Finding& b);

struct CheckResult {
  std::vector<Finding> findings;
  std::uint32_t errors = 0, warnings = 0;
  std::optional<PadFrame> frame;  // the board's, for the report
  std::string stopped;            // why the board was not checked; empty when it was
};

}  // namespace velmorta::check
