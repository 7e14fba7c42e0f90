#include "plot/extended.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>

namespace velmorta {
namespace {

TEST(DiagonalCoordinate, OffsetsAreSlightlyAboveFiveSeventhsOfTheLength) {
  const struct {
    std::int32_t length;
    bool up;
    std::int32_t margin, a, b;
    std::int64_t expected;
  } kCases[] = {
      {1000, true, 0, 10000, 0, 10714},
      {1000, false, 0, 10000, 0, 9285},
      {1000, true, 0, 40000, 20000, 20714},  // the Y form: MaxY - y
      {1000, false, 0, 40000, 20000, 19285},
      {700, true, 5000, 50000, 0, 55500},    // 500.00000000000003...
      {700, false, 5000, 50000, 0, 54499},   // 4499.99999999999996... + 50000
      {700, true, 5000, 60000, 10000, 55500},
      {7, true, 0, 0, 0, 5},
      {7, false, 0, 0, 0, -5},               // toward zero
      {0, true, 3, 4, 5, 2},
      {-1000, true, 0, 10000, 0, 9285},      // a negative length moves the other way
      {INT_MAX, true, INT_MAX, INT_MAX, INT_MIN, 7976367832},
      {INT_MIN, false, INT_MAX, INT_MAX, INT_MIN, 7976367833},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(DiagonalCoordinate(c.length, c.up, c.margin, c.a, c.b), c.expected)
        << c.length << (c.up ? " up " : " down ") << c.margin << " " << c.a << " " << c.b;
  }
}

// The same grouping in the compiler's long double, each step stored through a volatile so
// that it is rounded to the 64-bit significand and nothing is kept or fused in between.
std::int64_t WithLongDouble(std::int32_t length, bool up, std::int32_t margin, std::int32_t a, std::int32_t b) {
  const long double c = std::ldexp(static_cast<long double>(0xB6DB6DB6DB6DBA1FULL), -64);
  volatile long double offset = c * static_cast<long double>(length);
  volatile long double sum = up ? offset + static_cast<long double>(margin) : static_cast<long double>(margin) - offset;
  sum = sum + static_cast<long double>(a);
  sum = sum - static_cast<long double>(b);
  return static_cast<std::int64_t>(sum);  // truncates toward zero
}

TEST(DiagonalCoordinate, MatchesExtendedPrecisionArithmetic) {
  if (std::numeric_limits<long double>::digits != 64) {
    GTEST_SKIP() << "long double has a " << std::numeric_limits<long double>::digits
                 << "-bit significand here, not 64: nothing to compare with";
  }
  ASSERT_EQ(std::ldexp(static_cast<long double>(kDiagonalSignificand), -64),
            std::ldexp(static_cast<long double>(0xB6DB6DB6DB6DBA1FULL), -64));

  std::mt19937_64 random(20240611);
  const std::int32_t kEdges[] = {INT_MIN, INT_MIN + 1, -65536, -1, 0, 1, 7, 700, 65536, INT_MAX - 1, INT_MAX};
  const auto pick = [&](int kind) -> std::int32_t {
    switch (kind) {
      case 0: return kEdges[random() % std::size(kEdges)];
      case 1: return static_cast<std::int32_t>(static_cast<std::int64_t>(random() % 200001) - 100000);
      case 2: return static_cast<std::int32_t>(static_cast<std::int64_t>(random() % 20000001) - 10000000);
      default: return static_cast<std::int32_t>(static_cast<std::uint32_t>(random()));
    }
  };
  int mismatches = 0;
  for (int i = 0; i < 200000 && mismatches < 10; ++i) {
    const std::int32_t length = pick(static_cast<int>(random() % 4));
    const std::int32_t margin = pick(static_cast<int>(random() % 4));
    const std::int32_t a = pick(static_cast<int>(random() % 4));
    const std::int32_t b = pick(static_cast<int>(random() % 4));
    const bool up = (random() & 1) != 0;
    const std::int64_t expected = WithLongDouble(length, up, margin, a, b);
    const std::int64_t actual = DiagonalCoordinate(length, up, margin, a, b);
    if (actual != expected) {
      ++mismatches;
      ADD_FAILURE() << "L " << length << (up ? " up" : " down") << " margin " << margin << " a " << a << " b "
                    << b << ": " << actual << " instead of " << expected;
    }
  }
}

}  // namespace
}  // namespace velmorta
