#include "check/distance.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>

namespace velmorta::check {
namespace {

Segment S(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) { return {{x1, y1}, {x2, y2}}; }

TEST(Distance, TwiceTheDistanceComparesExactly) {
  // Twice the distance of each pair is exactly `twice`; k one below, at and above it.
  const struct {
    Segment s, t;
    std::int64_t twice;
  } kCases[] = {
      {S(0, 0, 0, 0), S(3, 4, 3, 4), 10},                     // two points
      {S(0, 0, 0, 0), S(-5, 5, 5, 5), 10},                    // a point over a stroke's middle
      {S(0, 0, 0, 0), S(3, 4, 9, 12), 10},                    // ... beyond its end: the end counts
      {S(0, 0, 10, 0), S(13, 4, 20, 4), 10},                  // end to end
      {S(0, 0, 10, 0), S(5, 3, 5, 20), 6},                    // end over the middle
      {S(0, 0, 10, 0), S(2, 1, 8, 1), 2},                     // parallel
      {S(0, 0, 10, 10), S(0, 10, 10, 0), 0},                  // crossing
      {S(0, 0, 10, 0), S(10, 0, 20, 5), 0},                   // sharing an end
      {S(0, 0, 10, 0), S(5, 0, 30, 0), 0},                    // collinear overlap
      {S(0, 0, 10, 0), S(12, 0, 30, 0), 4},                   // collinear apart
      {S(INT_MIN, 0, INT_MAX, 0), S(0, INT_MAX, 0, INT_MAX), 2 * std::int64_t{INT_MAX}},
      {S(INT_MIN, INT_MIN, INT_MIN, INT_MIN), S(INT_MAX, INT_MIN, INT_MAX, INT_MIN), 2 * (std::int64_t{1} << 32) - 2},
      {S(INT_MIN, INT_MIN, INT_MAX, INT_MAX), S(INT_MIN, INT_MAX, INT_MAX, INT_MIN), 0},
  };
  for (const auto& c : kCases) {
    for (const auto& [s, t] : {std::pair{c.s, c.t}, std::pair{c.t, c.s}}) {
      EXPECT_EQ(CompareTwiceDistance(s, t, c.twice - 1), 1) << c.twice;
      EXPECT_EQ(CompareTwiceDistance(s, t, c.twice), 0) << c.twice;
      EXPECT_EQ(CompareTwiceDistance(s, t, c.twice + 1), -1) << c.twice;
      EXPECT_NEAR(ClosestPoints(s, t).distance * 2, static_cast<double>(c.twice), 1e-6 * (1.0 + static_cast<double>(c.twice)));
    }
  }
  // Beyond any distance, and below zero.
  const Segment corners = S(INT_MIN, INT_MIN, INT_MIN, INT_MIN), far = S(INT_MAX, INT_MAX, INT_MAX, INT_MAX);
  EXPECT_EQ(CompareTwiceDistance(corners, far, std::int64_t{1} << 34), -1);
  EXPECT_EQ(CompareTwiceDistance(corners, far, (std::int64_t{1} << 34) - 1), -1);  // 2^33.5 < k
  EXPECT_EQ(CompareTwiceDistance(corners, corners, -1), 1);
}

TEST(Distance, NearTiesBeyondFloatingPointAreExact) {
  // A point (m, 0) lies m / sqrt 2 from the line y = x, so 4 d^2 = 2 m^2. Solutions of
  // k^2 - 2 m^2 = +-1 put k within 1 / (2 sqrt 2 m) of 2d: far below what a double
  // resolves at m near 2^31, and on the side the equation's sign says.
  const Segment diagonal = S(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  std::int64_t k = 1, m = 1;  // 1 - 2 = -1
  int sign = -1, seen = 0;
  while (m < INT_MAX) {
    const Point p{static_cast<std::int32_t>(m), 0};
    // k^2 = 2 m^2 + sign: k above 2d when sign is +1, so 2d - k < 0.
    EXPECT_EQ(CompareTwiceDistance(p, diagonal, k), -sign) << "m " << m << " k " << k;
    EXPECT_EQ(CompareTwiceDistance(p, S(0, 0, INT_MAX, INT_MAX), k), -sign) << "m " << m;
    const std::int64_t next = k + 2 * m;
    m += k;
    k = next;
    sign = -sign;
    ++seen;
  }
  EXPECT_GT(seen, 20);
}

TEST(Distance, AgreesWithFloatingPointAwayFromTies) {
  std::mt19937_64 random(7);
  const auto coordinate = [&](int bits) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(random() % (std::uint64_t{1} << bits)) -
                                     (std::int64_t{1} << (bits - 1)));
  };
  for (int i = 0; i < 200000; ++i) {
    const int bits = i % 3 == 0 ? 32 : 12;  // extremes, and boards of ordinary size
    Segment s = S(coordinate(bits), coordinate(bits), coordinate(bits), coordinate(bits));
    Segment t = S(coordinate(bits), coordinate(bits), coordinate(bits), coordinate(bits));
    if (i % 5 == 0) t.b = t.a;  // a flash
    const Closest c = ClosestPoints(s, t);
    // The closest points lie on their segments and are that far apart.
    EXPECT_NEAR(std::hypot(c.sx - c.tx, c.sy - c.ty), c.distance, 1e-6 * (1 + c.distance));
    const auto k = static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(4 * c.distance + 10));
    const double gap = 2 * c.distance - static_cast<double>(k);
    if (std::abs(gap) < 1e-6 * (1 + 2 * c.distance)) continue;
    ASSERT_EQ(CompareTwiceDistance(s, t, k), gap < 0 ? -1 : 1)
        << s.a.x << "," << s.a.y << " " << s.b.x << "," << s.b.y << " / " << t.a.x << "," << t.a.y << " " << t.b.x
        << "," << t.b.y << " k " << k;
    ASSERT_EQ(Intersect(s, t), Intersect(t, s));
  }
}

}  // namespace
}  // namespace velmorta::check
