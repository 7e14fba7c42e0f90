#pragma once
// A uniform grid over axis-aligned boxes: each item is listed in every cell its box
// touches, and a query visits each item whose box meets the query box, once.
//
// The cell size starts at the median item extent (at least the side that gives one cell
// per item over the whole area) and doubles until the grid has at most 2n + 64 cells and
// at most 8n + 1024 entries, so memory stays in proportion to the items whatever their
// sizes. The grid keeps no boxes: the caller gives them again to each query.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace velmorta::check {

struct Box {  // inclusive bounds in 0.001 mm
  std::int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;
};

inline bool Overlap(const Box& a, const Box& b) {
  return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}

inline Box Grow(Box b, std::int64_t by) { return {b.minX - by, b.minY - by, b.maxX + by, b.maxY + by}; }

class GridIndex {
 public:
  GridIndex() = default;

  // boxOf(i) gives item i's box, for i below count (at most 2^28 items). Every
  // coordinate of a box lies within +-2^40, so no cell arithmetic can overflow.
  template <class BoxOf>
  GridIndex(std::uint32_t count, BoxOf boxOf);

  // visit(item) once for each item whose box (boxOf as at construction) meets q.
  template <class BoxOf, class Visit>
  void Query(const Box& q, BoxOf boxOf, Visit&& visit) const;

  std::int64_t CellSize() const { return cell_; }
  std::size_t Bytes() const {
    return (start_.capacity() + items_.capacity()) * sizeof(std::uint32_t);
  }

 private:
  std::int64_t CellX(std::int64_t x) const { return (x - originX_) / cell_; }
  std::int64_t CellY(std::int64_t y) const { return (y - originY_) / cell_; }

  std::int64_t originX_ = 0, originY_ = 0, cell_ = 1, nx_ = 0, ny_ = 0;
  std::vector<std::uint32_t> start_;            // per cell, where its items start; one more at the end
  std::vector<std::uint32_t> items_;  // the items of every cell, cell after cell
};

template <class BoxOf>
GridIndex::GridIndex(std::uint32_t count, BoxOf boxOf) {
  if (count == 0) return;
  Box all = boxOf(0);
  for (std::uint32_t i = 1; i < count; ++i) {
    const Box b = boxOf(i);
    all = {std::min(all.minX, b.minX), std::min(all.minY, b.minY), std::max(all.maxX, b.maxX),
           std::max(all.maxY, b.maxY)};
  }
  originX_ = all.minX;
  originY_ = all.minY;
  const std::int64_t width = all.maxX - all.minX + 1, height = all.maxY - all.minY + 1;

  // The median extent of up to 1024 items taken evenly.
  std::vector<std::int64_t> extents;
  const std::uint32_t step = std::max<std::uint32_t>(1, count / 1024);
  for (std::uint32_t i = 0; i < count; i += step) {
    const Box b = boxOf(i);
    extents.push_back(std::max(b.maxX - b.minX, b.maxY - b.minY) + 1);
  }
  std::nth_element(extents.begin(), extents.begin() + static_cast<std::ptrdiff_t>(extents.size() / 2), extents.end());
  const double perItem = std::sqrt(static_cast<double>(width) * static_cast<double>(height) / count);
  cell_ = std::max<std::int64_t>({1, extents[extents.size() / 2], static_cast<std::int64_t>(perItem)});

  const std::uint64_t maxCells = 2 * std::uint64_t{count} + 64, maxEntries = 8 * std::uint64_t{count} + 1024;
  for (;; cell_ *= 2) {
    nx_ = (width - 1) / cell_ + 1;
    ny_ = (height - 1) / cell_ + 1;
    if (static_cast<std::uint64_t>(nx_) > maxCells / static_cast<std::uint64_t>(ny_)) continue;
    if (static_cast<std::uint64_t>(nx_ * ny_) > maxCells) continue;
    std::uint64_t entries = 0;
    for (std::uint32_t i = 0; i < count && entries <= maxEntries; ++i) {
      const Box b = boxOf(i);
      entries += static_cast<std::uint64_t>((CellX(b.maxX) - CellX(b.minX) + 1) * (CellY(b.maxY) - CellY(b.minY) + 1));
    }
    if (entries <= maxEntries) break;
  }

  // Counting sort of the entries by cell.
  start_.assign(static_cast<std::size_t>(nx_ * ny_) + 1, 0);
  for (std::uint32_t i = 0; i < count; ++i) {
    const Box b = boxOf(i);
    for (std::int64_t y = CellY(b.minY); y <= CellY(b.maxY); ++y) {
      for (std::int64_t x = CellX(b.minX); x <= CellX(b.maxX); ++x) ++start_[static_cast<std::size_t>(y * nx_ + x) + 1];
    }
  }
  for (std::size_t c = 1; c < start_.size(); ++c) start_[c] += start_[c - 1];
  items_.resize(start_.back());
  std::vector<std::uint32_t> fill(start_.begin(), start_.end() - 1);
  for (std::uint32_t i = 0; i < count; ++i) {
    const Box b = boxOf(i);
    for (std::int64_t y = CellY(b.minY); y <= CellY(b.maxY); ++y) {
      for (std::int64_t x = CellX(b.minX); x <= CellX(b.maxX); ++x) items_[fill[static_cast<std::size_t>(y * nx_ + x)]++] = i;
    }
  }
}

template <class BoxOf, class Visit>
void GridIndex::Query(const Box& q, BoxOf boxOf, Visit&& visit) const {
  if (nx_ == 0) return;
  const std::int64_t lastX = originX_ + nx_ * cell_ - 1, lastY = originY_ + ny_ * cell_ - 1;
  if (q.maxX < originX_ || q.maxY < originY_ || q.minX > lastX || q.minY > lastY) return;
  const std::int64_t x0 = CellX(std::max(q.minX, originX_)), x1 = CellX(std::min(q.maxX, lastX));
  const std::int64_t y0 = CellY(std::max(q.minY, originY_)), y1 = CellY(std::min(q.maxY, lastY));
  for (std::int64_t y = y0; y <= y1; ++y) {
    const std::int64_t cellBottom = originY_ + y * cell_;
    for (std::int64_t x = x0; x <= x1; ++x) {
      const std::int64_t cellLeft = originX_ + x * cell_;
      const std::size_t cell = static_cast<std::size_t>(y * nx_ + x);
      for (std::uint32_t e = start_[cell]; e < start_[cell + 1]; ++e) {
        const std::uint32_t item = items_[e];
        const Box b = boxOf(item);
        // An item in several of the query's cells is visited in the one that holds the
        // lowest corner of the two boxes' intersection. That corner is never beyond this
        // cell (both boxes reach into it), so it is in this cell unless it is before it.
        if (Overlap(b, q) && std::max(b.minX, q.minX) >= cellLeft && std::max(b.minY, q.minY) >= cellBottom) {
          visit(item);
        }
      }
    }
  }
}

}  // namespace velmorta::check
