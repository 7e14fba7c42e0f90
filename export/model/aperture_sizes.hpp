#pragma once
// What a D code or tool number of an output file measures. The converter writes only
// numbers, chosen by the keys of the configuration list that the file draws from; the
// size is the one that list's line gives (keys select, sizes draw).

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "base/outputs.hpp"
#include "config/settings.hpp"

namespace velmorta::fab {

// Files 1, 2 and 7 draw with line apertures, 3 and 4 with land apertures, the drill
// file and the hole drawing with the drill tools.
inline SizeList ListOf(Output file) { return TraitsOf(file).list; }
std::string_view ListName(SizeList list);  // "line", "land", "tool"
const CodeList& EntriesOf(const Settings& settings, SizeList list);

// The ">D", ">R" or ">T" that starts the list's lines.
std::string_view ListKey(SizeList list);

// No aperture or drill of a board is larger.
inline constexpr std::int64_t kLargestSize = 100'000;  // 0.001 mm

struct CodeSize {
  std::int32_t key = 0;
  std::int64_t micrometres = 0;  // as the configuration's line writes it
};

// The size of `code` in `list`, as its configuration line gives it (">D0.85 14" is
// 0.850 mm, ">T8.04 3" 0.804 mm). Entries whose code is 0 provide no number of their
// own and are passed over. A code that no entry carries, one carried by entries of
// different sizes (its size would be a guess), and a size that is not a positive
// number up to 100 mm are errors naming the configuration's file and line, and
// `fileName`, the converter file that draws with the code.
CodeSize SizeOfCode(const Settings& settings, SizeList list, std::int32_t code, std::string_view fileName);

// Output numbers for a list's codes. A code inside [lowest, highest] keeps its number;
// every other non-zero code of the list, in increasing order, takes the lowest free
// number of the range. It depends on the configuration alone, so every file drawn from
// one list numbers its apertures alike.
class Renumbering {
 public:
  Renumbering(const CodeList& list, std::int32_t lowest, std::int32_t highest, std::string_view what);
  // The number for a code of the list (the code itself for any other).
  std::int32_t operator()(std::int32_t code) const;

 private:
  std::map<std::int32_t, std::int32_t> numbers_;
};

// RS-274X reserves D0 to D9 for operations; the reader that checks our files takes
// aperture numbers up to 9999 and drill tools up to 99 are the common limit.
inline constexpr std::int32_t kLowestAperture = 10;
inline constexpr std::int32_t kHighestAperture = 9999;
inline constexpr std::int32_t kLowestTool = 1;
inline constexpr std::int32_t kHighestTool = 99;

}  // namespace velmorta::fab
