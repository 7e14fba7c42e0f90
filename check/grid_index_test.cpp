#include "check/grid_index.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

namespace velmorta::check {
namespace {

// Every item whose box meets the query is visited exactly once, the rest never.
void ExpectQueriesComplete(const std::vector<Box>& boxes, const std::vector<Box>& queries) {
  const auto boxOf = [&](std::uint32_t i) { return boxes[i]; };
  const auto count = static_cast<std::uint32_t>(boxes.size());
  const GridIndex grid(GridShape::For(count, boxOf), count, boxOf);
  std::vector<int> visits(boxes.size());
  for (const Box& q : queries) {
    std::fill(visits.begin(), visits.end(), 0);
    grid.Query(q, [&](std::uint32_t i) { return boxes[i]; }, [&](std::uint32_t i) { ++visits[i]; });
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      ASSERT_EQ(visits[i], Overlap(boxes[i], q) ? 1 : 0) << "item " << i;
    }
  }
  // Memory in proportion to the items, whatever their shapes.
  EXPECT_LE(grid.Bytes(), (boxes.size() * 11 + 1100) * sizeof(std::uint32_t));
  // The spatial order is a permutation, in the order of the cells.
  const std::vector<std::uint32_t> byName = SpatialOrder(grid.Shape(), count, boxOf);
  std::vector<std::uint32_t> seen(count);
  for (const std::uint32_t i : byName) ASSERT_EQ(seen.at(i)++, 0u);
  for (std::uint32_t n = 1; n < count; ++n) {
    const std::size_t before = grid.Shape().CellOf(boxes[byName[n - 1]]), here = grid.Shape().CellOf(boxes[byName[n]]);
    ASSERT_TRUE(before < here || (before == here && byName[n - 1] < byName[n])) << n;
  }
}

Box Around(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) { return {x, y, x + w, y + h}; }

TEST(GridIndex, FindsEveryOverlappingBoxOnce) {
  std::mt19937_64 random(3);
  const auto n = [&](std::int64_t range) { return static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(range)); };
  for (int round = 0; round < 60; ++round) {
    std::vector<Box> boxes, queries;
    const std::int64_t extent = round % 3 == 0 ? (std::int64_t{1} << 33) : 100000;
    const std::size_t count = 1 + static_cast<std::size_t>(n(400));
    for (std::size_t i = 0; i < count; ++i) {
      // Mostly small boxes, a few spanning much of the board, some on one line.
      const std::int64_t size = i % 17 == 0 ? n(extent) : n(extent / 200 + 1);
      const std::int64_t y = round % 4 == 1 ? 0 : n(extent) - extent / 2;
      boxes.push_back(Around(n(extent) - extent / 2, y, n(size + 1), round % 4 == 1 ? 0 : n(size + 1)));
    }
    for (int i = 0; i < 50; ++i) queries.push_back(Around(n(extent) - extent / 2, n(extent) - extent / 2, n(extent / 50), n(extent / 50)));
    queries.push_back(Around(-extent, -extent, 2 * extent, 2 * extent));  // everything
    queries.push_back(Around(extent, extent, 1, 1));                      // beyond the grid
    ExpectQueriesComplete(boxes, queries);
  }
}

TEST(GridIndex, HugeAndDegenerateBoxesKeepMemoryBounded) {
  // Every box spans the whole 32-bit frame: the cells grow until each box is in a few.
  std::vector<Box> huge(1000, Box{INT_MIN, INT_MIN, INT_MAX, INT_MAX});
  huge.push_back(Box{0, 0, 0, 0});
  ExpectQueriesComplete(huge, {Box{5, 5, 5, 5}, Box{INT_MIN, 0, INT_MIN, 0}});
  // All at one point.
  ExpectQueriesComplete(std::vector<Box>(500, Box{7, 7, 7, 7}), {Box{7, 7, 7, 7}, Box{8, 8, 9, 9}});
  // Nothing at all.
  ExpectQueriesComplete({}, {Box{0, 0, 1, 1}});
}

}  // namespace
}  // namespace velmorta::check
