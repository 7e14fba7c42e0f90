#pragma once
// How a board's converter files map onto a board house's layers, where a user's boards
// follow another convention than the default. Configuration lines ">E name value",
// which the converter passes over like every key it does not know:
//   >E first-side bottom           files 1 and 3 are the bottom (default) or the top
//   >E single-sided-top legend     on a single-sided board file 2 becomes the legend
//                                  (default: wire jumpers), copper, or is left out (omit)
//   >E mask-expansion 0.05         mask openings larger than their lands, mm per side
//   >E sides auto                  the pad file's Type (auto; without a pad file, double-
//                                  sided when file 4 holds lands), or 1 or 2

#include <cstdint>
#include <span>
#include <string_view>

#include "config/settings.hpp"
#include "geometry/side.hpp"

namespace velmorta::fab {

using geometry::Side;

enum class SingleSidedTop { Legend, Copper, Omit };

enum class SidesRule { Auto, One, Two };

struct FabSettings {
  Side firstSide = Side::Bottom;
  SingleSidedTop singleSidedTop = SingleSidedTop::Legend;
  std::int64_t maskExpansion = 50;  // 0.001 mm, on each side of an opening
  SidesRule sides = SidesRule::Auto;
};

// The ">E" lines the configuration reader kept. An unknown name or value is an error
// naming `fileName` and the line's number.
FabSettings ParseFabSettings(std::span<const NumberedLine> lines, std::string_view fileName);
// The same, from a whole configuration text.
FabSettings ParseFabSettings(std::string_view configuration, std::string_view fileName);

}  // namespace velmorta::fab
