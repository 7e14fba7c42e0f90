#pragma once
// What the check reads: the board as the board house will build it. The export fills it
// from the composed layers; tests and the benchmark build it directly. Coordinates and
// sizes are integers in 0.001 mm, in the frame of the Gerber files (the converter's
// output units).

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "geometry/origin.hpp"
#include "geometry/shapes.hpp"
#include "geometry/side.hpp"

namespace velmorta::check {

using geometry::Origin;
using geometry::Point;
using geometry::Segment;
using geometry::Side;

enum class Role : std::uint8_t {
  Land,       // a land flash of a land file: a drilled pad
  Conductor,  // anything else on the copper: lines, fills, auxiliary lands
};

// A disc (a flash at a) or a capsule (a stroke from a to b) of a round aperture. A board
// holds millions of them: the origin's two parts lie apart so that the record has no
// padding (28 bytes, not 32).
struct Feature {
  Feature() = default;
  Feature(Point first, Point second, std::int32_t size, bool drawn, Role kind, Origin from)
      : a(first), b(second), diameter(size), ordinal(from.ordinal), file(from.file), stroke(drawn), role(kind) {}

  Point a, b;                 // b is the stroke's end; a flash's b is not read
  std::int32_t diameter = 0;  // negative values count as 0
  std::uint32_t ordinal = 0;  // the origin's
  std::uint8_t file = 0;      // the origin's
  bool stroke = false;        // drawn by a stroke (its aperture is a track width)
  Role role = Role::Conductor;

  Origin origin() const { return {file, ordinal}; }
};
static_assert(sizeof(Feature) == 28);

struct Hole {
  Hole() = default;
  Hole(Point centre, std::int32_t size, bool barrel, Origin from)
      : at(centre), diameter(size), ordinal(from.ordinal), file(from.file), plated(barrel) {}

  Point at;
  std::int32_t diameter = 0;  // negative values count as 0
  std::uint32_t ordinal = 0;  // the origin's, apart as in Feature
  std::uint8_t file = 0;
  bool plated = false;

  Origin origin() const { return {file, ordinal}; }
};
static_assert(sizeof(Hole) == 20);

// A segment of the board profile, its centre line being the board's edge.
struct Edge {
  Segment line;
  std::int32_t width = 0;  // the profile stroke's; the rules measure to the centre line
  Origin origin;
};

// A wire that joins the copper at its two ends on the bottom side: the jumpers of a
// single-sided board (its top lines, drilled at both ends).
struct Link {
  Segment wire;
  Origin origin;
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
