#include "check/wide.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>

namespace velmorta::check {
namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

TEST(Wide, ProductsOfTwo64BitNumbers) {
  const struct {
    std::uint64_t a, b;
    U128 expected;
  } kCases[] = {
      {0, kMax, {0, 0}},
      {1, kMax, {0, kMax}},
      {kMax, kMax, {kMax - 1, 1}},                      // (2^64 - 1)^2 = 2^128 - 2^65 + 1
      {std::uint64_t{1} << 32, std::uint64_t{1} << 32, {1, 0}},
      {0xffffffffu, 0xffffffffu, {0, 0xfffffffe00000001u}},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Mul64(c.a, c.b), c.expected) << c.a << " * " << c.b;
    EXPECT_EQ(Mul64ByHalves(c.a, c.b), c.expected) << c.a << " * " << c.b;
  }
  std::mt19937_64 random(15);
  for (int i = 0; i < 100000; ++i) {
    const std::uint64_t a = random() >> (random() % 64), b = random() >> (random() % 64);
    ASSERT_EQ(Mul64ByHalves(a, b), Mul64(a, b)) << a << " * " << b;
  }
}

TEST(Wide, SignedProductsSumsAndMagnitudes) {
  constexpr std::int64_t kLeast = std::numeric_limits<std::int64_t>::min();
  EXPECT_EQ(Sign(Product(kLeast, kLeast)), 1);  // 2^126
  EXPECT_EQ(Magnitude(Product(kLeast, kLeast)), (U128{std::uint64_t{1} << 62, 0}));
  EXPECT_EQ(Sign(Product(kLeast, 1)), -1);
  EXPECT_EQ(Magnitude(Product(kLeast, 1)), (U128{0, std::uint64_t{1} << 63}));
  EXPECT_EQ(Sign(Product(0, kLeast)), 0);
  EXPECT_EQ(Sign(Sub(Product(3, 5), Product(5, 3))), 0);
  EXPECT_EQ(Sign(Sub(Product(-3, 5), Product(5, 3))), -1);
  EXPECT_EQ(Magnitude(Sub(Product(-3, 5), Product(5, 3))), (U128{0, 30}));
  // A difference just across the 64-bit boundary in both directions.
  const Int128 big = Product(std::int64_t{1} << 32, std::int64_t{1} << 32);  // 2^64
  EXPECT_EQ(Magnitude(Sub(big, Product(1, 1))), (U128{0, kMax}));
  EXPECT_EQ(Magnitude(Sub(Product(1, 1), big)), (U128{0, kMax}));
}

TEST(Wide, WideProductsCompareAsTheirValues) {
  // (2^128 - 1)^2 = 2^256 - 2^129 + 1.
  const U256 top = Mul({kMax, kMax}, {kMax, kMax});
  EXPECT_EQ(top.limb[3], kMax);
  EXPECT_EQ(top.limb[2], kMax - 1);
  EXPECT_EQ(top.limb[1], 0u);
  EXPECT_EQ(top.limb[0], 1u);
  // 2^64 * 2^64 = 2^128, shifted by 2 is 2^130.
  const U256 shifted = ShiftLeft(Mul({1, 0}, {1, 0}), 2);
  EXPECT_EQ(shifted.limb[2], 4u);
  EXPECT_EQ(Compare(shifted, Mul({2, 0}, {2, 0})), 0);  // 2^65 * 2^65
  EXPECT_EQ(Compare(Mul({0, 3}, {0, 5}), Mul({0, 1}, {0, 16})), -1);
  EXPECT_EQ(Compare(Mul({1, 0}, {0, 2}), Mul({0, kMax}, {0, 2})), 1);
#if defined(__SIZEOF_INT128__)
  __extension__ using Native = unsigned __int128;
  std::mt19937_64 random(12);
  for (int i = 0; i < 100000; ++i) {
    // Factors below 2^64 so that the compiler's type holds the product.
    const U128 a{0, random() >> (random() % 64)}, b{0, random() >> (random() % 64)};
    const U256 p = Mul(a, b);
    const Native expected = static_cast<Native>(a.lo) * b.lo;
    ASSERT_EQ(p.limb[0], static_cast<std::uint64_t>(expected));
    ASSERT_EQ(p.limb[1], static_cast<std::uint64_t>(expected >> 64));
    ASSERT_EQ(p.limb[2] | p.limb[3], 0u);
  }
#endif
}

}  // namespace
}  // namespace velmorta::check
