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

#include "base/large_memory.hpp"

namespace velmorta::check {

struct Box {  // inclusive bounds in 0.001 mm
  std::int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;
};

inline bool Overlap(const Box& a, const Box& b) {
  return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}

inline Box Grow(Box b, std::int64_t by) { return {b.minX - by, b.minY - by, b.maxX + by, b.maxY + by}; }

// Where the cells are. Every coordinate of a box lies within +-2^40, so no cell
// arithmetic can overflow.
struct GridShape {
  std::int64_t originX = 0, originY = 0, cell = 1, nx = 0, ny = 0;

  std::int64_t CellX(std::int64_t x) const { return (x - originX) / cell; }
  std::int64_t CellY(std::int64_t y) const { return (y - originY) / cell; }
  // The cell of a box's lowest corner.
  std::size_t CellOf(const Box& b) const { return static_cast<std::size_t>(CellY(b.minY) * nx + CellX(b.minX)); }
  std::size_t Cells() const { return static_cast<std::size_t>(nx * ny); }

  // boxOf(i) gives item i's box, for i below count (at most 2^28 items).
  template <class BoxOf>
  static GridShape For(std::uint32_t count, BoxOf boxOf);
};

// The items cell after cell by their lowest corners, and in their own order within a
// cell: an order in which neighbours are near in memory.
template <class BoxOf>
std::vector<std::uint32_t> SpatialOrder(const GridShape& shape, std::uint32_t count, BoxOf boxOf);

class GridIndex {
 public:
  GridIndex() = default;
  template <class BoxOf>
  GridIndex(const GridShape& shape, std::uint32_t count, BoxOf boxOf);

  // visit(item) once for each item whose box (boxOf as at construction) meets q.
  // Returns the number of cells and entries read, the query's cost.
  template <class BoxOf, class Visit>
  std::uint64_t Query(const Box& q, BoxOf boxOf, Visit&& visit) const;

  const GridShape& Shape() const { return shape_; }
  std::size_t Bytes() const { return (start_.capacity() + items_.capacity()) * sizeof(std::uint32_t); }

 private:
  GridShape shape_;
  std::vector<std::uint32_t> start_;  // per cell, where its items start; one more at the end
  std::vector<std::uint32_t> items_;  // the items of every cell, cell after cell
};

template <class BoxOf>
GridShape GridShape::For(std::uint32_t count, BoxOf boxOf) {
  GridShape s;
  if (count == 0) return s;
  Box all = boxOf(0);
  for (std::uint32_t i = 1; i < count; ++i) {
    const Box b = boxOf(i);
    all = {std::min(all.minX, b.minX), std::min(all.minY, b.minY), std::max(all.maxX, b.maxX),
           std::max(all.maxY, b.maxY)};
  }
  s.originX = all.minX;
  s.originY = all.minY;
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
  s.cell = std::max<std::int64_t>({1, extents[extents.size() / 2], static_cast<std::int64_t>(perItem)});

  const std::uint64_t maxCells = 2 * std::uint64_t{count} + 64, maxEntries = 8 * std::uint64_t{count} + 1024;
  for (;; s.cell *= 2) {
    s.nx = (width - 1) / s.cell + 1;
    s.ny = (height - 1) / s.cell + 1;
    if (static_cast<std::uint64_t>(s.nx) > maxCells / static_cast<std::uint64_t>(s.ny)) continue;
    if (static_cast<std::uint64_t>(s.nx * s.ny) > maxCells) continue;
    std::uint64_t entries = 0;
    for (std::uint32_t i = 0; i < count && entries <= maxEntries; ++i) {
      const Box b = boxOf(i);
      entries += static_cast<std::uint64_t>((s.CellX(b.maxX) - s.CellX(b.minX) + 1) *
                                            (s.CellY(b.maxY) - s.CellY(b.minY) + 1));
    }
    if (entries <= maxEntries) return s;
  }
}

template <class BoxOf>
std::vector<std::uint32_t> SpatialOrder(const GridShape& shape, std::uint32_t count, BoxOf boxOf) {
  // A counting sort by cell.
  std::vector<std::uint32_t> next, order;
  ReserveLarge(next, shape.Cells() + 1);
  ReserveLarge(order, count);
  next.resize(shape.Cells() + 1);
  order.resize(count);
  for (std::uint32_t i = 0; i < count; ++i) ++next[shape.CellOf(boxOf(i)) + 1];
  for (std::size_t c = 1; c < next.size(); ++c) next[c] += next[c - 1];
  for (std::uint32_t i = 0; i < count; ++i) order[next[shape.CellOf(boxOf(i))]++] = i;
  return order;
}

template <class BoxOf>
GridIndex::GridIndex(const GridShape& shape, std::uint32_t count, BoxOf boxOf) : shape_(shape) {
  if (count == 0) return;
  const GridShape& s = shape_;
  // Counting sort of the entries by cell.
  ReserveLarge(start_, s.Cells() + 1);
  start_.resize(s.Cells() + 1);
  for (std::uint32_t i = 0; i < count; ++i) {
    const Box b = boxOf(i);
    for (std::int64_t y = s.CellY(b.minY); y <= s.CellY(b.maxY); ++y) {
      for (std::int64_t x = s.CellX(b.minX); x <= s.CellX(b.maxX); ++x) ++start_[static_cast<std::size_t>(y * s.nx + x) + 1];
    }
  }
  for (std::size_t c = 1; c < start_.size(); ++c) start_[c] += start_[c - 1];
  ReserveLarge(items_, start_.back());
  items_.resize(start_.back());
  std::vector<std::uint32_t> fill;
  ReserveLarge(fill, start_.size() - 1);
  fill.assign(start_.begin(), start_.end() - 1);
  for (std::uint32_t i = 0; i < count; ++i) {
    const Box b = boxOf(i);
    for (std::int64_t y = s.CellY(b.minY); y <= s.CellY(b.maxY); ++y) {
      for (std::int64_t x = s.CellX(b.minX); x <= s.CellX(b.maxX); ++x) items_[fill[static_cast<std::size_t>(y * s.nx + x)]++] = i;
    }
  }
}

template <class BoxOf, class Visit>
std::uint64_t GridIndex::Query(const Box& q, BoxOf boxOf, Visit&& visit) const {
  const GridShape& s = shape_;
  if (s.nx == 0) return 0;
  const std::int64_t lastX = s.originX + s.nx * s.cell - 1, lastY = s.originY + s.ny * s.cell - 1;
  if (q.maxX < s.originX || q.maxY < s.originY || q.minX > lastX || q.minY > lastY) return 0;
  std::uint64_t read = 0;
  const std::int64_t x0 = s.CellX(std::max(q.minX, s.originX)), x1 = s.CellX(std::min(q.maxX, lastX));
  const std::int64_t y0 = s.CellY(std::max(q.minY, s.originY)), y1 = s.CellY(std::min(q.maxY, lastY));
  for (std::int64_t y = y0; y <= y1; ++y) {
    const std::int64_t cellBottom = s.originY + y * s.cell;
    for (std::int64_t x = x0; x <= x1; ++x) {
      const std::int64_t cellLeft = s.originX + x * s.cell;
      const std::size_t cell = static_cast<std::size_t>(y * s.nx + x);
      read += 1 + start_[cell + 1] - start_[cell];  // the cell and its entries
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
  return read;
}

}  // namespace velmorta::check
