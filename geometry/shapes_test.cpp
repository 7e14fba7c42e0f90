#include <gtest/gtest.h>

#include <random>
#include <set>

#include "geometry/point_set.hpp"
#include "geometry/shapes.hpp"

namespace velmorta::geometry {
namespace {

TEST(Geometry, ExtentsReachTheInkOfRoundShapes) {
  Extents extents;
  EXPECT_TRUE(extents.empty);
  extents.Add(Disc{{10, 20}, 5});  // an odd diameter reaches to the next unit
  EXPECT_EQ(extents, (Extents{false, 7, 17, 13, 23}));
  extents.Add(Capsule{{-100, 0}, {0, 100}, 10});
  EXPECT_EQ(extents, (Extents{false, -105, -5, 13, 105}));
  Extents other;
  other.Add(Point{INT32_MAX, INT32_MIN}, 4);
  extents.Add(other);
  EXPECT_EQ(extents, (Extents{false, -105, std::int64_t{INT32_MIN} - 2, std::int64_t{INT32_MAX} + 2, 105}));
  EXPECT_EQ(Extents{}.Width(), 0);
}

// Against std::set, points at the extremes and the key that marks empty slots included.
TEST(Geometry, PointSetAnswersLikeASet) {
  std::mt19937 random(7);
  PointSet points;
  std::set<Point> expected;
  const Point extremes[] = {{-1, -1}, {0, 0}, {INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN}};
  EXPECT_FALSE(points.Contains({-1, -1}));
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 5000; ++i) {
      const Point p{static_cast<std::int32_t>(random() % 200) - 100, static_cast<std::int32_t>(random() % 200)};
      points.Add(p);
      expected.insert(p);
    }
    points.Add(extremes[round]);
    expected.insert(extremes[round]);
    for (std::int32_t x = -102; x < 102; ++x) {
      for (std::int32_t y = -2; y < 202; y += 3) EXPECT_EQ(points.Contains({x, y}), expected.count({x, y}) == 1);
    }
    for (const Point p : extremes) EXPECT_EQ(points.Contains(p), expected.count(p) == 1);
    EXPECT_EQ(points.Size(), expected.size());
  }
}

}  // namespace
}  // namespace velmorta::geometry
