#include "geometry/shapes.hpp"

#include <algorithm>

namespace velmorta::geometry {

void Extents::Add(Point point, std::int64_t diameter) {
  // Coordinates are 32-bit and diameters come from configuration keys: no overflow.
  const std::int64_t reach = (std::max<std::int64_t>(diameter, 0) + 1) / 2;
  const std::int64_t x = point.x, y = point.y;
  if (empty) {
    *this = Extents{false, x - reach, y - reach, x + reach, y + reach};
    return;
  }
  minX = std::min(minX, x - reach);
  minY = std::min(minY, y - reach);
  maxX = std::max(maxX, x + reach);
  maxY = std::max(maxY, y + reach);
}

void Extents::Add(const Extents& other) {
  if (other.empty) return;
  if (empty) {
    *this = other;
    return;
  }
  minX = std::min(minX, other.minX);
  minY = std::min(minY, other.minY);
  maxX = std::max(maxX, other.maxX);
  maxY = std::max(maxY, other.maxY);
}

}  // namespace velmorta::geometry
