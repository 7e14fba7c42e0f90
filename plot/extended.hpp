#pragma once
// The diagonal inner point of an auxiliary land moves each axis by c * L, evaluated as
// ((+-c * L + margin) + a) - b with every operation rounded to a 64-bit significand
// (round to nearest, ties to even) and the result truncated toward zero. Done here in
// exact integer arithmetic, so the result is the same on every platform and compiler.

#include <cstdint>

namespace velmorta {

// c = 0xB6DB6DB6DB6DBA1F * 2^-64 (biased exponent 0x3FFE): slightly above 5/7.
inline constexpr std::uint64_t kDiagonalSignificand = 0xB6DB6DB6DB6DBA1FULL;

// up: ((c*L + margin) + a) - b; down: ((margin - c*L) + a) - b.
std::int64_t DiagonalCoordinate(std::int32_t length, bool up, std::int32_t margin, std::int32_t a,
                                std::int32_t b);

}  // namespace velmorta
