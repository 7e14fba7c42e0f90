#pragma once
// What the check reads: the board as the board house will build it. The export fills it
// from the composed layers; tests and the benchmark build it directly. Coordinates and
// sizes are integers in 0.001 mm, in the frame of the Gerber files (the converter's
// output units).

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "check/geometry.hpp"
#include "geometry/side.hpp"

namespace velmorta::check {

using geometry::Side;

// Where a feature came from, for the report: the converter's output file (1 to 7, 0 for
// none) and the feature's ordinal in it, as the filler counts them.
struct Source {
  std::uint8_t file = 0;
  std::uint32_t index = 0;
  friend bool operator==(const Source&, const Source&) = default;
};

enum class Role : std::uint8_t {
  Land,       // a land flash of a land file: a drilled pad
  Conductor,  // anything else on the copper: lines, fills, auxiliary lands
};

// A disc (a flash at a) or a capsule (a stroke from a to b) of a round aperture.
struct Feature {
  Point a, b;                 // b is the stroke's end; a flash's b is not read
  std::int32_t diameter = 0;  // negative values count as 0
  bool stroke = false;        // drawn by a stroke (its aperture is a track width)
  Role role = Role::Conductor;
  Source source;
};

struct Hole {
  Point at;
  std::int32_t diameter = 0;  // negative values count as 0
  bool plated = false;
  Source source;
};

// A segment of the board profile, its centre line being the board's edge.
struct Edge {
  Segment line;
  std::int32_t width = 0;  // the profile stroke's; the rules measure to the centre line
  Source source;
};

// A wire that joins the copper at its two ends on the bottom side: the jumpers of a
// single-sided board (its top lines, drilled at both ends).
struct Link {
  Segment wire;
  Source source;
};

// The pad file's frame, to report positions as typed (0.01 inch, y upward):
// X = x * 254 - minX + margin, Y = margin + maxY - y * 254, with the converter's MinX
// and MaxY (board units, 0.001 mm) and the margin it plotted with.
struct PadFrame {
  std::int32_t minX = 0, maxY = 0, margin = 0;
};

struct CheckBoard {
  bool doubleSided = false;
  // Copper per side; on a single-sided board only the bottom is copper (the top is not
  // read).
  std::array<std::vector<Feature>, 2> copper;
  std::vector<Hole> holes;
  std::vector<Edge> outline;
  std::vector<Link> links;
  std::optional<PadFrame> frame;

  std::vector<Feature>& operator[](Side side) { return copper[static_cast<std::size_t>(side)]; }
  const std::vector<Feature>& operator[](Side side) const { return copper[static_cast<std::size_t>(side)]; }
};

}  // namespace velmorta::check
