#pragma once
// A set of exact positions, filled once and then asked: eight bytes a point, sorted,
// so that a million lands take 8 MB and each question a binary search.

#include <cstdint>
#include <vector>

#include "geometry/shapes.hpp"

namespace velmorta::geometry {

class PointSet {
 public:
  void Add(Point point) {
    keys_.push_back(Key(point));
    sealed_ = false;
  }
  bool Contains(Point point) const;
  std::size_t Size() const;

 private:
  static std::uint64_t Key(Point point) {
    return std::uint64_t{static_cast<std::uint32_t>(point.x)} << 32 | static_cast<std::uint32_t>(point.y);
  }
  // Sorts and drops duplicates before the first question after an Add.
  void Seal() const;

  mutable std::vector<std::uint64_t> keys_;
  mutable bool sealed_ = true;
};

}  // namespace velmorta::geometry
