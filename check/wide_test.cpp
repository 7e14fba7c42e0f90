#include "check/wide.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace velmorta::check {
namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
constexpr std::int64_t kLeast = std::numeric_limits<std::int64_t>::min();

TEST(Wide, ProductsAtTheEndsOfTheirRanges) {
  const struct {
    std::uint64_t a, b;
    U128 product;
  } kUnsigned[] = {
      {0, kMax, {0, 0}}, {1, kMax, {0, kMax}}, {kMax, kMax, {kMax - 1, 1}},  // 2^128 - 2^65 + 1
      {std::uint64_t{1} << 32, std::uint64_t{1} << 32, {1, 0}}, {0xffffffffu, 0xffffffffu, {0, 0xfffffffe00000001u}},
  };
  for (const auto& c : kUnsigned) {
    EXPECT_EQ(Mul64(c.a, c.b), c.product) << c.a << " * " << c.b;
    EXPECT_EQ(Mul64ByHalves(c.a, c.b), c.product) << c.a << " * " << c.b;
  }
  const struct {
    Int128 value;
    int sign;
    U128 magnitude;
  } kSigned[] = {
      {Product(kLeast, kLeast), 1, {std::uint64_t{1} << 62, 0}},  // 2^126
      {Product(kLeast, 1), -1, {0, std::uint64_t{1} << 63}},
      {Product(0, kLeast), 0, {0, 0}},
      {Sub(Product(3, 5), Product(5, 3)), 0, {0, 0}},
      {Sub(Product(-3, 5), Product(5, 3)), -1, {0, 30}},
      {Sub(Product(std::int64_t{1} << 32, std::int64_t{1} << 32), Product(1, 1)), 1, {0, kMax}},  // across 2^64
      {Sub(Product(1, 1), Product(std::int64_t{1} << 32, std::int64_t{1} << 32)), -1, {0, kMax}},
  };
  for (const auto& c : kSigned) {
    EXPECT_EQ(Sign(c.value), c.sign);
    EXPECT_EQ(Magnitude(c.value), c.magnitude);
  }
  // (2^128 - 1)^2 = 2^256 - 2^129 + 1; 2^64 * 2^64 * 4 = 2^65 * 2^65.
  const U256 top = Mul({kMax, kMax}, {kMax, kMax});
  EXPECT_TRUE(top.limb[3] == kMax && top.limb[2] == kMax - 1 && top.limb[1] == 0 && top.limb[0] == 1);
  EXPECT_EQ(Compare(ShiftLeft(Mul({1, 0}, {1, 0}), 2), Mul({2, 0}, {2, 0})), 0);
  EXPECT_EQ(Compare(Mul({0, 3}, {0, 5}), Mul({0, 1}, {0, 16})), -1);
  EXPECT_EQ(Compare(Mul({1, 0}, {0, 2}), Mul({0, kMax}, {0, 2})), 1);
}

TEST(Wide, AgreeWithTheCompilersOwnArithmetic) {
  std::mt19937_64 random(15);
  for (int i = 0; i < 100000; ++i) {
    const std::uint64_t a = random() >> (random() % 64), b = random() >> (random() % 64);
    ASSERT_EQ(Mul64ByHalves(a, b), Mul64(a, b)) << a << " * " << b;
#if defined(__SIZEOF_INT128__)
    __extension__ using Native = unsigned __int128;
    const U256 p = Mul({0, a}, {0, b});
    const Native expected = static_cast<Native>(a) * b;
    ASSERT_TRUE(p.limb[0] == static_cast<std::uint64_t>(expected) && p.limb[1] == static_cast<std::uint64_t>(expected >> 64) &&
                (p.limb[2] | p.limb[3]) == 0);
#endif
  }
}

}  // namespace
}  // namespace velmorta::check
