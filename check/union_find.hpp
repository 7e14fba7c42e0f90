#pragma once
// Connected groups of features. Every group's representative is its smallest member, so
// the groups' names do not depend on the order in which the unions were made.

#include <cstdint>
#include <vector>

namespace velmorta::check {

class UnionFind {
 public:
  UnionFind() = default;
  explicit UnionFind(std::uint32_t count);

  std::uint32_t Find(std::uint32_t item);
  void Unite(std::uint32_t a, std::uint32_t b);
  // Points every item at its representative; Group() is then a plain look-up.
  void Flatten();
  std::uint32_t Group(std::uint32_t item) const { return parent_[item]; }
  std::uint32_t Size() const { return static_cast<std::uint32_t>(parent_.size()); }

 private:
  std::vector<std::uint32_t> parent_;  // always a smaller or equal index
};

}  // namespace velmorta::check
