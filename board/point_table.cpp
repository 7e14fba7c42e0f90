#include "board/point_table.hpp"

#include <random>

namespace velmorta {
namespace {

std::uint64_t Key(std::int32_t x, std::int32_t y) {
  return (std::uint64_t{static_cast<std::uint32_t>(x)} << 32) | static_cast<std::uint32_t>(y);
}

// A per-process seed keeps crafted inputs from piling points into one probe chain;
// it changes only the layout of the table, never a result. Drawn at the first use, not
// during static initialisation, where a failing random device could not be reported.
std::uint64_t Seed() {
  static const std::uint64_t seed = [] {
    std::random_device device;
    return (std::uint64_t{device()} << 32) ^ device();
  }();
  return seed;
}

std::uint64_t Hash(std::uint64_t key) {
  key ^= Seed();
  key ^= key >> 33;
  key *= 0xff51afd7ed558ccdULL;
  key ^= key >> 33;
  key *= 0xc4ceb9fe1a85ec53ULL;
  key ^= key >> 33;
  return key;
}

}  // namespace

PointTable::PointTable(std::size_t expectedPoints) {
  std::size_t capacity = 16;
  while (capacity < expectedPoints * 2) capacity *= 2;
  slots_.resize(capacity);
}

std::size_t PointTable::Find(std::uint64_t key) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = static_cast<std::size_t>(Hash(key)) & mask;
  while (slots_[i].count != 0 && slots_[i].key() != key) i = (i + 1) & mask;
  return i;
}

void PointTable::Grow() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  for (const Slot& slot : old) {
    if (slot.count != 0) slots_[Find(slot.key())] = slot;
  }
}

void PointTable::Add(std::int32_t x, std::int32_t y) {
  if ((used_ + 1) * 2 > slots_.size()) Grow();
  Slot& slot = slots_[Find(Key(x, y))];
  if (slot.count == 0) {
    slot.high = static_cast<std::uint32_t>(x);
    slot.low = static_cast<std::uint32_t>(y);
    ++used_;
  }
  if (slot.count != UINT32_MAX) ++slot.count;
}

void PointTable::Prefetch(std::int32_t x, std::int32_t y) const {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(&slots_[static_cast<std::size_t>(Hash(Key(x, y))) & (slots_.size() - 1)]);
#else
  (void)x;
  (void)y;
#endif
}

std::uint32_t PointTable::Count(std::int32_t x, std::int32_t y) const {
  return slots_[Find(Key(x, y))].count;
}

}  // namespace velmorta
