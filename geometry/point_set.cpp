#include "geometry/point_set.hpp"

namespace velmorta::geometry {

std::size_t PointSet::Slot(std::uint64_t key) const {
  // Fibonacci hashing: the top bits of the product spread neighbouring grid points.
  return shift_ >= 64 ? 0 : static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
}

void PointSet::Seal() const {
  if (sealed_) return;
  std::vector<std::uint64_t> keys;
  keys.reserve(size_ + added_.size());
  for (const std::uint64_t key : slots_) {
    if (key != kEmpty) keys.push_back(key);
  }
  keys.insert(keys.end(), added_.begin(), added_.end());
  added_ = {};
  std::size_t capacity = 2;
  int bits = 1;
  while (capacity < 2 * keys.size()) {
    capacity *= 2;
    ++bits;
  }
  slots_.assign(capacity, kEmpty);
  shift_ = 64 - bits;
  size_ = hasEmptyKey_ ? 1 : 0;
  for (const std::uint64_t key : keys) {
    if (key == kEmpty) {
      if (!hasEmptyKey_) ++size_;
      hasEmptyKey_ = true;
      continue;
    }
    std::size_t slot = Slot(key);
    while (slots_[slot] != kEmpty && slots_[slot] != key) slot = (slot + 1) & (capacity - 1);
    if (slots_[slot] == kEmpty) {
      slots_[slot] = key;
      ++size_;
    }
  }
  sealed_ = true;
}

bool PointSet::Contains(Point point) const {
  Seal();
  const std::uint64_t key = Key(point);
  if (key == kEmpty) return hasEmptyKey_;
  if (slots_.empty()) return false;
  for (std::size_t slot = Slot(key);; slot = (slot + 1) & (slots_.size() - 1)) {
    if (slots_[slot] == key) return true;
    if (slots_[slot] == kEmpty) return false;
  }
}

std::size_t PointSet::Size() const {
  Seal();
  return size_;
}

}  // namespace velmorta::geometry
