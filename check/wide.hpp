#pragma once
// Exact integers wider than 64 bits, just enough to compare squared distances of 32-bit
// coordinates: signed 128-bit values (differences of products of two 64-bit numbers)
// and unsigned 256-bit products of two 128-bit magnitudes.

#include <cstdint>

namespace velmorta::check {

struct U128 {
  std::uint64_t hi = 0, lo = 0;
  friend bool operator==(const U128&, const U128&) = default;
};

struct U256 {
  std::uint64_t limb[4] = {0, 0, 0, 0};  // least significant first
};

// Two's complement over 128 bits: value = hi * 2^64 + lo, with hi's top bit the sign.
struct Int128 {
  std::uint64_t hi = 0, lo = 0;
};

U128 Mul64(std::uint64_t a, std::uint64_t b);  // exact: the product of two 64-bit numbers
U128 Mul64ByHalves(std::uint64_t a, std::uint64_t b);  // the same, where no 128-bit type exists
U128 Add(U128 a, U128 b);                      // modulo 2^128
int Compare(U128 a, U128 b);                   // -1, 0 or +1

// a * b exactly, for any 64-bit a and b (the product's magnitude is at most 2^126).
Int128 Product(std::int64_t a, std::int64_t b);
Int128 Add(Int128 a, Int128 b);  // modulo 2^128: exact while the true sum lies in +-2^127
Int128 Sub(Int128 a, Int128 b);
int Sign(Int128 a);
U128 Magnitude(Int128 a);  // exact for every value but -2^127
U128 ToU128(Int128 nonNegative);

U256 Mul(U128 a, U128 b);
U256 ShiftLeft(U256 a, int bits);  // 0 <= bits < 64, bits shifted out of the top are lost
int Compare(const U256& a, const U256& b);

}  // namespace velmorta::check
