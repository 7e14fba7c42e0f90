#pragma once
// Where a feature of a board came from, for whoever names it to a person: the
// converter's output file (1 to 7, 0 for none) and the feature's number in it, from 1.

#include <cstdint>

namespace velmorta::geometry {

struct Origin {
  std::uint8_t file = 0;
  std::uint32_t ordinal = 0;
  friend bool operator==(const Origin&, const Origin&) = default;
};

}  // namespace velmorta::geometry
