#pragma once
// Exact decimal text of a scaled integer: no floating point, no exponent.

#include <cstdint>
#include <string>

namespace velmorta::fab {

// `value` / 10^decimals with exactly `decimals` digits after the point (at least one):
// (8, 1) -> "0.8", (-254, 3) -> "-0.254", (164000, 3) -> "164.000".
std::string FormatDecimal(std::int64_t value, int decimals);

}  // namespace velmorta::fab
