#include "check/union_find.hpp"

#include <numeric>
#include <utility>

#include "base/large_memory.hpp"

namespace velmorta::check {

UnionFind::UnionFind(std::uint32_t count) {
  ReserveLarge(parent_, count);
  parent_.resize(count);
  std::iota(parent_.begin(), parent_.end(), 0u);
}

std::uint32_t UnionFind::Find(std::uint32_t item) {
  // Path halving: every other step points to its grandparent.
  while (parent_[item] != item) {
    parent_[item] = parent_[parent_[item]];
    item = parent_[item];
  }
  return item;
}

void UnionFind::Unite(std::uint32_t a, std::uint32_t b) {
  a = Find(a);
  b = Find(b);
  if (a == b) return;
  if (b < a) std::swap(a, b);
  parent_[b] = a;
}

void UnionFind::Flatten() {
  // Parents are smaller indices, so one pass in increasing order finds every root.
  for (std::uint32_t i = 0; i < Size(); ++i) parent_[i] = parent_[parent_[i]];
}

}  // namespace velmorta::check
