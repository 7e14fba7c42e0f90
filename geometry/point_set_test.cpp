#include "geometry/point_set.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>

namespace velmorta::geometry {
namespace {

// Against std::set, points at the extremes and the key that marks empty slots included.
TEST(PointSet, AnswersLikeASet) {
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
