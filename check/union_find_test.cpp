#include "check/union_find.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <utility>

namespace velmorta::check {
namespace {

TEST(UnionFind, GroupsAreNamedByTheirSmallestMember) {
  for (const bool reversed : {false, true}) {
    UnionFind groups(10);
    const std::pair<std::uint32_t, std::uint32_t> kUnions[] = {{9, 4}, {4, 7}, {2, 8}, {8, 9}, {5, 6}};
    for (std::size_t i = 0; i < std::size(kUnions); ++i) {
      const auto [a, b] = kUnions[reversed ? std::size(kUnions) - 1 - i : i];
      groups.Unite(a, b);
    }
    groups.Flatten();
    const std::uint32_t kExpected[] = {0, 1, 2, 3, 2, 5, 5, 2, 2, 2};
    for (std::uint32_t i = 0; i < 10; ++i) EXPECT_EQ(groups.Group(i), kExpected[i]) << i;
  }
}

}  // namespace
}  // namespace velmorta::check
