#pragma once
// Distances between the cores of copper features: every aperture is round, so a feature
// is a disc (a flash: a point and a diameter) or a capsule (a stroke: a segment and a
// diameter), and its copper is every point within half the diameter of its core.
// The comparisons are exact for any 32-bit coordinates; the distances and closest points
// for the report are floating point.

#include <cstdint>

#include "geometry/shapes.hpp"

namespace velmorta::check {

using geometry::Point;
using geometry::Segment;

// The sign of 2 * distance - k: -1, 0 or +1, exactly. With k the sum of two diameters and
// twice a clearance, that is the sign of (edge-to-edge distance - clearance). Twice the
// distance of two 32-bit points is below 2^34, so any k at or above that compares below.
int CompareTwiceDistance(Point p, Point q, std::int64_t k);
int CompareTwiceDistance(Point p, Segment s, std::int64_t k);
int CompareTwiceDistance(Segment s, Segment t, std::int64_t k);

// Whether two closed segments share a point (crossing, touching or overlapping).
bool Intersect(Segment s, Segment t);

// The closest points of two segments (on s, on t) and their distance, for reporting.
struct Closest {
  double distance = 0;
  double sx = 0, sy = 0, tx = 0, ty = 0;
};
Closest ClosestPoints(Segment s, Segment t);

}  // namespace velmorta::check
