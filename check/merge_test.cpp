#include "check/merge.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmorta::check {
namespace {

Finding At(std::int32_t x, std::int32_t y) {
  Finding f;
  f.kind = Kind::Spacing;
  f.at = {x, y};
  f.measured = 100;
  f.subjectA = 1;
  f.subjectB = 2;
  return f;
}

// Findings of one fault on either side of a cell's corner, in every direction and in
// either order, are one; farther apart than two cells in any direction they are two.
// Corners on both sides of zero, where cells are counted down.
TEST(MergeNearby, FindingsAroundACellCornerAreOneInEveryDirection) {
  constexpr std::int32_t kCell = 1000;
  for (const Point corner : {Point{0, 0}, Point{3000, 1000}, Point{-3000, -5000}}) {
    const Point around[] = {{corner.x - 1, corner.y - 1}, {corner.x, corner.y - 1},
                            {corner.x - 1, corner.y}, {corner.x, corner.y}};
    for (const Point p : around) {
      for (const Point q : around) {
        if (p == q) continue;
        const std::string where = std::to_string(p.x) + "," + std::to_string(p.y) + " and " + std::to_string(q.x) +
                                  "," + std::to_string(q.y);
        const std::vector<Finding> merged = MergeNearby({At(p.x, p.y), At(q.x, q.y)}, kCell);
        ASSERT_EQ(merged.size(), 1u) << where;
        EXPECT_EQ(merged[0].count, 2u) << where;
      }
    }
    std::vector<Finding> all;
    for (const Point p : around) all.push_back(At(p.x, p.y));
    EXPECT_EQ(MergeNearby(all, kCell).size(), 1u);
    for (const std::int32_t dx : {-1, 0, 1}) {
      for (const std::int32_t dy : {-1, 0, 1}) {
        if (dx == 0 && dy == 0) continue;
        // One micrometre farther apart than two cells: never one fault directly.
        const Point p{corner.x - (kCell - 1) * dx, corner.y - (kCell - 1) * dy};
        const Point q{p.x + (2 * kCell + 1) * dx, p.y + (2 * kCell + 1) * dy};
        EXPECT_EQ(MergeNearby({At(p.x, p.y), At(q.x, q.y)}, kCell).size(), 2u) << dx << "," << dy;
      }
    }
  }
}

}  // namespace
}  // namespace velmorta::check
