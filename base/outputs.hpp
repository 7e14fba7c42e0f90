#pragma once
// The seven output files and what is fixed about each: its role, the configuration
// list its codes come from, the trailer that ends it and its colour in a preview.

#include <array>
#include <string_view>

namespace velmorta {

// Numbered in the order of the configuration's ">F" lines.
enum class Output {
  BottomCopper = 1,
  TopCopper = 2,
  Lands1 = 3,  // land flashes sized by land1
  Lands2 = 4,  // land flashes sized by land2, double-sided boards
  Drill = 5,
  HoleDrawing = 6,
  Outline = 7,
};

inline constexpr std::array<Output, 7> kOutputs = {Output::BottomCopper, Output::TopCopper, Output::Lands1,
                                                   Output::Lands2,       Output::Drill,     Output::HoleDrawing,
                                                   Output::Outline};

constexpr std::size_t IndexOf(Output file) { return static_cast<std::size_t>(file) - 1; }

// The configuration list whose codes a file selects.
enum class SizeList { Line, Land, Tool };

struct OutputTraits {
  std::string_view role;     // "bottom copper"
  SizeList list;
  std::string_view trailer;  // the converter's last bytes of a complete file
  std::string_view colour;   // "#rrggbb" in previews
};

// Indexed by IndexOf(file).
inline constexpr std::array<OutputTraits, 7> kOutputTraits = {{
    {"bottom copper", SizeList::Line, "G01X0Y0*M00*", "#4a7bd0"},
    {"top copper", SizeList::Line, "G01X0Y0*M00*", "#d9483b"},
    {"lands, first code", SizeList::Land, "D02*G01X0Y0*M00*", "#e8a23a"},
    {"lands, second code", SizeList::Land, "D02*G01X0Y0*M00*", "#a86bd8"},
    {"drill hits", SizeList::Tool, "M02\n", "#101010"},
    {"hole drawing", SizeList::Tool, "D02*G01X0Y0*M00*", "#f2f2f2"},
    {"board outline", SizeList::Line, "G01X0Y0*M02*", "#e8e070"},
}};

constexpr const OutputTraits& TraitsOf(Output file) { return kOutputTraits[IndexOf(file)]; }

}  // namespace velmorta
