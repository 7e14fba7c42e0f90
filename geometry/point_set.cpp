#include "geometry/point_set.hpp"

#include <algorithm>

namespace velmorta::geometry {

void PointSet::Seal() const {
  if (sealed_) return;
  std::sort(keys_.begin(), keys_.end());
  keys_.erase(std::unique(keys_.begin(), keys_.end()), keys_.end());
  keys_.shrink_to_fit();
  sealed_ = true;
}

bool PointSet::Contains(Point point) const {
  Seal();
  return std::binary_search(keys_.begin(), keys_.end(), Key(point));
}

std::size_t PointSet::Size() const {
  Seal();
  return keys_.size();
}

}  // namespace velmorta::geometry
