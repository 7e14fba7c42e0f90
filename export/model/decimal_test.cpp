#include "export/model/decimal.hpp"

#include <gtest/gtest.h>

#include <cstdint>

namespace velmorta::fab {
namespace {

TEST(Decimal, WritesExactDecimalsWithoutExponent) {
  const struct {
    std::int64_t value;
    int decimals;
    const char* text;
  } kCases[] = {
      {8, 1, "0.8"},           {164, 2, "1.64"},       {0, 3, "0.000"},
      {-254, 3, "-0.254"},     {-5, 3, "-0.005"},      {12620, 3, "12.620"},
      {2147483647, 3, "2147483.647"}, {INT64_MIN, 3, "-9223372036854775.808"},
  };
  for (const auto& c : kCases) EXPECT_EQ(FormatDecimal(c.value, c.decimals), c.text) << c.value;
}

}  // namespace
}  // namespace velmorta::fab
