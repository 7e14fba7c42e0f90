#pragma once
// A set of exact positions, filled once and then asked millions of times: an open
// addressing table of 64-bit keys at most half full, built on the first question
// after an Add, so that each question costs one or two cache lines.

#include <cstdint>
#include <vector>

#include "geometry/shapes.hpp"

namespace velmorta::geometry {

class PointSet {
 public:
  void Add(Point point) {
    added_.push_back(Key(point));
    sealed_ = false;
  }
  bool Contains(Point point) const;
  std::size_t Size() const;

 private:
  static std::uint64_t Key(Point point) {
    return std::uint64_t{static_cast<std::uint32_t>(point.x)} << 32 | static_cast<std::uint32_t>(point.y);
  }
  // A key no slot can hold: it marks the empty ones (the point it stands for is kept
  // in a flag of its own).
  static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};
  void Seal() const;
  std::size_t Slot(std::uint64_t key) const;

  mutable std::vector<std::uint64_t> added_;  // since the last Seal
  mutable std::vector<std::uint64_t> slots_;
  mutable std::size_t size_ = 0;
  mutable int shift_ = 64;
  mutable bool hasEmptyKey_ = false;
  mutable bool sealed_ = true;
};

}  // namespace velmorta::geometry
