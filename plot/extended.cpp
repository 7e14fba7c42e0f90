#include "plot/extended.hpp"

#include <bit>

namespace velmorta {
namespace {

// A two's-complement fixed-point number: value = (hi:lo) * 2^-64, hi the integer part.
// Every operand here is below 2^34 in magnitude, so no operation can overflow it.
struct Fixed {
  std::uint64_t hi = 0;
  std::uint64_t lo = 0;
};

Fixed FromInt(std::int64_t v) { return {static_cast<std::uint64_t>(v), 0}; }

bool IsNegative(Fixed a) { return (a.hi >> 63) != 0; }

Fixed Negate(Fixed a) {
  const std::uint64_t lo = ~a.lo + 1;
  return {~a.hi + (lo == 0 ? 1 : 0), lo};
}

Fixed Add(Fixed a, Fixed b) {
  const std::uint64_t lo = a.lo + b.lo;
  return {a.hi + b.hi + (lo < a.lo ? 1 : 0), lo};
}

Fixed Magnitude(Fixed a) { return IsNegative(a) ? Negate(a) : a; }

// Rounds to 64 significant bits, to nearest with ties to even.
Fixed Round(Fixed a) {
  const bool negative = IsNegative(a);
  Fixed m = Magnitude(a);
  const int bits = static_cast<int>(m.hi != 0 ? 64 + std::bit_width(m.hi) : std::bit_width(m.lo));
  if (bits > 64) {
    const int drop = bits - 64;  // at most 35: only fraction bits are dropped
    const std::uint64_t unit = std::uint64_t{1} << drop;
    const std::uint64_t rest = m.lo & (unit - 1);
    const std::uint64_t half = unit >> 1;
    m.lo -= rest;
    if (rest > half || (rest == half && (m.lo & unit) != 0)) m = Add(m, {0, unit});
  }
  return negative ? Negate(m) : m;
}

// c * L, rounded.
Fixed TimesC(std::int32_t length) {
  const std::uint64_t l = length < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(length)
                                     : static_cast<std::uint64_t>(length);
  const std::uint64_t low = (kDiagonalSignificand & 0xffffffffULL) * l;
  const std::uint64_t high = (kDiagonalSignificand >> 32) * l;
  Fixed product = Add({high >> 32, high << 32}, {0, low});
  if (length < 0) product = Negate(product);
  return Round(product);
}

std::int64_t TruncateTowardZero(Fixed a) {
  if (IsNegative(a)) return -static_cast<std::int64_t>(Negate(a).hi);
  return static_cast<std::int64_t>(a.hi);
}

}  // namespace

std::int64_t DiagonalCoordinate(std::int32_t length, bool up, std::int32_t margin, std::int32_t a,
                                std::int32_t b) {
  Fixed offset = TimesC(length);
  if (!up) offset = Negate(offset);
  Fixed value = Round(Add(offset, FromInt(margin)));
  value = Round(Add(value, FromInt(a)));
  value = Round(Add(value, FromInt(-std::int64_t{b})));
  return TruncateTowardZero(value);
}

}  // namespace velmorta
