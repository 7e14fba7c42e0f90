#include "base/numbers.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace velmorta {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Numbers, LeadingIntegerSaturatesToThe32BitRange) {
  const struct {
    std::string text;
    std::int32_t value;
  } kCases[] = {
      {"", 0}, {"abc", 0}, {"-", 0}, {"+", 0}, {"--5", 0}, {"- 5", 0},
      {"+7", 7}, {" \t\n\r\v\f-12x", -12}, {"12.7", 12}, {"5,9", 5}, {"0x1F", 0},
      {"000000000000000000000000000042", 42},
      {"2147483647", kMax}, {"2147483648", kMax}, {"4294967296", kMax},
      {"4294967297", kMax}, {"99999999999999999999999999999", kMax},
      {"-2147483648", kMin}, {"-2147483649", kMin}, {"-4294967297", kMin},
      {"-99999999999999999999999999999", kMin},
  };
  for (const auto& [text, value] : kCases) EXPECT_EQ(ParseLeadingInt(text), value) << text;
}

TEST(Numbers, DecimalGrammarIsPlainDecimalOnly) {
  const struct {
    std::string text;
    double value;
  } kCases[] = {
      {"0.8", 0.8}, {"-0.5", -0.5}, {"+1.5", 1.5}, {".5", 0.5}, {"5.", 5.0}, {"-.25", -0.25},
      {".", 0}, {"-", 0}, {"", 0}, {"e5", 0}, {"-e5", 0},
      {" \t\n\r\v\f2.5", 2.5}, {"1,5", 1}, {"1.5.3", 1.5}, {"2.5mm", 2.5},
      // No hexadecimal, infinity or NaN forms: they read as their leading decimal, if any.
      {"0x10", 0}, {"0x1p3", 0}, {"inf", 0}, {"-infinity", 0}, {"nan", 0}, {"NAN(1)", 0},
      // Exponents count only when complete.
      {"1e3", 1000}, {"1E3", 1000}, {"2.5e-1", 0.25}, {"1.5e+2x", 150},
      {"1e", 1}, {"1e+", 1}, {"1e-x", 1}, {"3E 2", 3},
      {"1e0000000000000000000000000001", 10},
      // Beyond double range: infinity of the sign, or zero.
      {"1e400", kInf}, {"-1e400", -kInf}, {"1e99999999999999999999999", kInf},
      {"0.001e400", kInf}, {"000123e307", kInf}, {std::string(400, '9'), kInf},
      {"1e-400", 0}, {"-1e-400", 0}, {"1e-99999999999999999999999", 0}, {"1000e-330", 0},
      {"0e99999999999999", 0}, {"0." + std::string(400, '0') + "1", 0},
      {"0.000000001e309", 1e300},
  };
  for (const auto& [text, value] : kCases) EXPECT_EQ(ParseDecimal(text), value) << text;
}

TEST(Numbers, ScaleTruncatesTowardZeroAndSaturates) {
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double value, scale, bias;
    std::int32_t result;
  } kCases[] = {
      {0.8, 10, 0.01, 8},          {-0.5, 10, 0.01, -4},      {1.64, 100, 0.01, 164},
      {0.29, 100, 0.01, 29},       {0.29, 100, 0, 28},        {1.005, 1000, 0, 1004},
      {5, 1000, 0, 5000},          {-7.9, 1, 0, -7},
      {2147483647, 1, 0, kMax},    {2147483647.9, 1, 0, kMax}, {2147483648.0, 1, 0, kMax},
      {1e300, 10, 0, kMax},        {kInf, 10, 0.01, kMax},
      {-2147483648.0, 1, 0, kMin}, {-2147483648.9, 1, 0, kMin}, {-2147483649.0, 1, 0, kMin},
      {-1e300, 10, 0, kMin},       {-kInf, 100, 0.01, kMin},  {kNaN, 10, 0.01, 0},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(ScaleToInt32(c.value, c.scale, c.bias), c.result) << c.value << " x " << c.scale;
  }
}

TEST(Numbers, Wrap32IsTwosComplement) {
  EXPECT_EQ(Wrap32(std::int64_t{kMax} * 254), -254);
  EXPECT_EQ(Wrap32(std::int64_t{kMin} * 254), 0);
  EXPECT_EQ(Wrap32(std::int64_t{8454661} * 254), -2147483402);
  EXPECT_EQ(Wrap32(std::int64_t{kMax} + 1), kMin);
  EXPECT_EQ(Wrap32(std::int64_t{kMin} - 1), kMax);
}

}  // namespace
}  // namespace velmorta
