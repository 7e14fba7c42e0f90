#pragma once
// The seven output files and what is fixed about each: the configuration list its codes
// come from, the trailer that ends it, and what it holds for a board house: which
// features, on which side.

#include <array>
#include <string>
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

// What a file holds.
enum class Content {
  Lines,        // strokes: lines, fills and auxiliary lands of one side
  Lands,        // land flashes of one side
  Drill,        // drill hits
  HoleDrawing,  // a flash at every drilled position
  Outline,      // the board's edge
};

// The side a file serves. Files 1 and 3 are the first side: the solder side, and on a
// single-sided board the only copper; files 2 and 4 the second (component) side.
enum class BoardSide { Neither, First, Second };

// The converter's last bytes of a complete Gerber file, of each kind.
inline constexpr std::string_view kCopperTrailer = "G01X0Y0*M00*";
inline constexpr std::string_view kFlashTrailer = "D02*G01X0Y0*M00*";  // lands and the hole drawing
inline constexpr std::string_view kOutlineTrailer = "G01X0Y0*M02*";

struct OutputTraits {
  SizeList list;
  std::string_view trailer;  // the converter's last bytes of a complete file
  Content content;
  BoardSide side;
};

// Indexed by IndexOf(file).
inline constexpr std::array<OutputTraits, 7> kOutputTraits = {{
    {SizeList::Line, kCopperTrailer, Content::Lines, BoardSide::First},
    {SizeList::Line, kCopperTrailer, Content::Lines, BoardSide::Second},
    {SizeList::Land, kFlashTrailer, Content::Lands, BoardSide::First},
    {SizeList::Land, kFlashTrailer, Content::Lands, BoardSide::Second},
    {SizeList::Tool, "M02\n", Content::Drill, BoardSide::Neither},
    {SizeList::Tool, kFlashTrailer, Content::HoleDrawing, BoardSide::Neither},
    {SizeList::Line, kOutlineTrailer, Content::Outline, BoardSide::Neither},
}};

constexpr const OutputTraits& TraitsOf(Output file) { return kOutputTraits[IndexOf(file)]; }

// The file of `side` that holds `content` (lines or lands).
constexpr Output FileOf(Content content, BoardSide side) {
  for (const Output file : kOutputs) {
    if (TraitsOf(file).content == content && TraitsOf(file).side == side) return file;
  }
  return Output::Drill;  // no such file: callers ask only for lines and lands of a side
}

// The run log of a conversion of `base` ("board" -> "board_.vel"), beside its pad file.
inline std::string RunLogPath(std::string_view base) { return std::string(base) + "_.vel"; }

}  // namespace velmorta
