#include "geometry/shapes.hpp"

#include <gtest/gtest.h>

#include <cstdint>

namespace velmorta::geometry {
namespace {

TEST(Extents, ReachTheInkOfRoundShapes) {
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

}  // namespace
}  // namespace velmorta::geometry
