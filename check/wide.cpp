#include "check/wide.hpp"

namespace velmorta::check {

U128 Mul64ByHalves(std::uint64_t a, std::uint64_t b) {
  // Four 32 x 32 -> 64 products; no partial sum below can exceed 2^64 - 1.
  const std::uint64_t aLo = a & 0xffffffffu, aHi = a >> 32, bLo = b & 0xffffffffu, bHi = b >> 32;
  const std::uint64_t ll = aLo * bLo, lh = aLo * bHi, hl = aHi * bLo, hh = aHi * bHi;
  const std::uint64_t middle = (ll >> 32) + (lh & 0xffffffffu) + (hl & 0xffffffffu);
  return {hh + (lh >> 32) + (hl >> 32) + (middle >> 32), (middle << 32) | (ll & 0xffffffffu)};
}

U128 Mul64(std::uint64_t a, std::uint64_t b) {
#if defined(__SIZEOF_INT128__)
  // The compiler's own 128-bit type gives one instruction where it exists.
  __extension__ using Native = unsigned __int128;
  const Native p = static_cast<Native>(a) * b;
  return {static_cast<std::uint64_t>(p >> 64), static_cast<std::uint64_t>(p)};
#else
  return Mul64ByHalves(a, b);
#endif
}

U128 Add(U128 a, U128 b) {
  const std::uint64_t lo = a.lo + b.lo;
  return {a.hi + b.hi + (lo < a.lo ? 1u : 0u), lo};
}

int Compare(U128 a, U128 b) {
  if (a.hi != b.hi) return a.hi < b.hi ? -1 : 1;
  if (a.lo != b.lo) return a.lo < b.lo ? -1 : 1;
  return 0;
}

namespace {

std::uint64_t MagnitudeOf(std::int64_t v) {
  // 0 - (unsigned)v is |v| for every value, INT64_MIN included.
  return v < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

Int128 Negate(Int128 a) {
  const std::uint64_t lo = ~a.lo + 1;
  return {~a.hi + (lo == 0 ? 1u : 0u), lo};
}

}  // namespace

Int128 Product(std::int64_t a, std::int64_t b) {
  const U128 m = Mul64(MagnitudeOf(a), MagnitudeOf(b));
  const Int128 p{m.hi, m.lo};
  return (a < 0) != (b < 0) ? Negate(p) : p;
}

Int128 Add(Int128 a, Int128 b) {
  const std::uint64_t lo = a.lo + b.lo;
  return {a.hi + b.hi + (lo < a.lo ? 1u : 0u), lo};
}

Int128 Sub(Int128 a, Int128 b) { return Add(a, Negate(b)); }

int Sign(Int128 a) {
  if ((a.hi >> 63) != 0) return -1;
  return (a.hi | a.lo) != 0 ? 1 : 0;
}

U128 Magnitude(Int128 a) {
  const Int128 m = Sign(a) < 0 ? Negate(a) : a;
  return {m.hi, m.lo};
}

U128 ToU128(Int128 nonNegative) { return {nonNegative.hi, nonNegative.lo}; }

U256 Mul(U128 a, U128 b) {
  // Schoolbook over 64-bit limbs: four partial products, carries propagated upward.
  const U128 ll = Mul64(a.lo, b.lo), lh = Mul64(a.lo, b.hi), hl = Mul64(a.hi, b.lo), hh = Mul64(a.hi, b.hi);
  U256 r;
  r.limb[0] = ll.lo;
  // limb 1: ll.hi + lh.lo + hl.lo, carries into limb 2.
  std::uint64_t carry = 0;
  std::uint64_t s = ll.hi + lh.lo;
  carry += s < ll.hi ? 1u : 0u;
  const std::uint64_t s1 = s + hl.lo;
  carry += s1 < s ? 1u : 0u;
  r.limb[1] = s1;
  // limb 2: lh.hi + hl.hi + hh.lo + carry, carries into limb 3.
  std::uint64_t carry2 = 0;
  s = lh.hi + hl.hi;
  carry2 += s < lh.hi ? 1u : 0u;
  std::uint64_t s2 = s + hh.lo;
  carry2 += s2 < s ? 1u : 0u;
  const std::uint64_t s3 = s2 + carry;
  carry2 += s3 < s2 ? 1u : 0u;
  r.limb[2] = s3;
  r.limb[3] = hh.hi + carry2;  // cannot wrap: the whole product is below 2^256
  return r;
}

U256 ShiftLeft(U256 a, int bits) {
  if (bits == 0) return a;
  U256 r;
  for (int i = 3; i > 0; --i) r.limb[i] = (a.limb[i] << bits) | (a.limb[i - 1] >> (64 - bits));
  r.limb[0] = a.limb[0] << bits;
  return r;
}

int Compare(const U256& a, const U256& b) {
  for (int i = 3; i >= 0; --i) {
    if (a.limb[i] != b.limb[i]) return a.limb[i] < b.limb[i] ? -1 : 1;
  }
  return 0;
}

}  // namespace velmorta::check
