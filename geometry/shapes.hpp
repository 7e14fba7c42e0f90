#pragma once
// The shapes of a board, in 0.001 mm. Every feature is round: a flash or a drill hit
// is a disc, a stroke of a round aperture is a capsule (the disc swept along a
// segment). The export draws them; a design-rule check measures them.

#include <compare>
#include <cstdint>

namespace velmorta::geometry {

struct Point {
  std::int32_t x = 0, y = 0;
  friend auto operator<=>(const Point&, const Point&) = default;
};

// A closed segment; a == b is a single point.
struct Segment {
  Point a, b;
};

struct Disc {
  Point centre;
  std::int64_t diameter = 0;
  friend bool operator==(const Disc&, const Disc&) = default;
};

struct Capsule {
  Point from, to;
  std::int64_t width = 0;
  friend bool operator==(const Capsule&, const Capsule&) = default;
};

// The smallest axis-aligned box around what was added, in whole units: a disc of odd
// diameter reaches out to the next unit.
struct Extents {
  bool empty = true;
  std::int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;

  void Add(Point point, std::int64_t diameter = 0);
  void Add(const Disc& disc) { Add(disc.centre, disc.diameter); }
  void Add(const Capsule& capsule) {
    Add(capsule.from, capsule.width);
    Add(capsule.to, capsule.width);
  }
  void Add(const Extents& other);

  std::int64_t Width() const { return empty ? 0 : maxX - minX; }
  std::int64_t Height() const { return empty ? 0 : maxY - minY; }
  friend bool operator==(const Extents&, const Extents&) = default;
};

}  // namespace velmorta::geometry
