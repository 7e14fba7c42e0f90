#include "base/numbers.hpp"

#include <charconv>
#include <cmath>
#include <limits>

namespace velmorta {
namespace {

constexpr bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipSpace(std::string_view text, std::size_t i) {
  while (i < text.size() && IsSpace(text[i])) ++i;
  return i;
}

std::int32_t Saturate32(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t ParseLeadingInt(std::string_view text) {
  std::size_t i = SkipSpace(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulate the magnitude, capped just past the 32-bit range so it never overflows.
  constexpr std::int64_t kCap = std::int64_t{1} << 32;
  std::int64_t magnitude = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kCap) magnitude = kCap;
  }
  return Saturate32(negative ? -magnitude : magnitude);
}

double ParseDecimal(std::string_view text) {
  std::size_t i = SkipSpace(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t start = i;

  // Mantissa: digits, optional point, digits; at least one digit in all.
  std::size_t integerDigits = 0;   // significant digits before the point
  std::size_t leadingFraction = 0;  // zeros after the point before the first non-zero digit
  bool anyDigit = false, seenNonZero = false;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    anyDigit = true;
    if (text[i] != '0') seenNonZero = true;
    if (seenNonZero) ++integerDigits;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      anyDigit = true;
      if (text[i] != '0') seenNonZero = true;
      if (!seenNonZero) ++leadingFraction;
    }
  }
  if (!anyDigit) return 0.0;

  // Exponent only when complete: e, optional sign, at least one digit.
  std::int64_t exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool expNegative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) expNegative = text[j++] == '-';
    if (j < text.size() && IsDigit(text[j])) {
      for (; j < text.size() && IsDigit(text[j]); ++j) {
        if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[j] - '0');
      }
      if (expNegative) exponent = -exponent;
      i = j;
    }
  }

  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data() + start, text.data() + i, value,
                                            std::chars_format::general);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Decide between overflow and underflow from the decimal magnitude.
    const std::int64_t magnitude = integerDigits > 0
        ? static_cast<std::int64_t>(integerDigits) + exponent
        : exponent - static_cast<std::int64_t>(leadingFraction);
    value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (error != std::errc{}) {
    value = 0.0;
  }
  return negative ? -value : value;
}

std::int32_t ScaleToInt32(double value, double scale, double bias) {
  const double t = std::trunc(value * scale + bias);
  if (std::isnan(t)) return 0;
  if (t >= 2147483648.0) return std::numeric_limits<std::int32_t>::max();
  if (t < -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(t);
}

}  // namespace velmorta
