#pragma once
// Number conversions shared by both input readers and every coordinate writer.
// Inputs may hold any bytes, so every conversion is total: it saturates or wraps
// deliberately and never overflows.

#include <cstdint>
#include <string_view>

namespace velmorta {

// Two's-complement wrap of a wider result to 32 bits.
constexpr std::int32_t Wrap32(std::int64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

// Leading integer of a text: white space skipped, optional sign, decimal digits up to
// the first other character; no digits gives 0. Saturates to the 32-bit range.
std::int32_t ParseLeadingInt(std::string_view text);

// Leading decimal number of a text: white space skipped, optional sign, digits with an
// optional point and exponent. No hex, infinity or NaN forms, independent of locale;
// no number gives 0. Magnitudes beyond double range give an infinity of that sign.
double ParseDecimal(std::string_view text);

// trunc(value * scale + bias), saturated to the 32-bit range.
std::int32_t ScaleToInt32(double value, double scale, double bias);

}  // namespace velmorta
