#pragma once
// The board house's sides of a board. The values index per-side arrays.

#include <cstdint>

namespace velmorta::geometry {

enum class Side : std::uint8_t { Bottom = 0, Top = 1 };

}  // namespace velmorta::geometry
