#pragma once
// A size in millimetres as a person writes one, in a configuration, a limits file or on
// the command line: digits with an optional point, at most three significant decimals
// (zeros beyond them are allowed), optionally followed by "mm"; blanks around are ignored.

#include <cstdint>
#include <string_view>

namespace velmorta {

enum class MillimetresFault { None, NotASize, TooFine, TooLarge };

struct ParsedMillimetres {
  std::int64_t micrometres = 0;  // 0.001 mm, when there is no fault
  MillimetresFault fault = MillimetresFault::None;
};

// Sizes above `largest` (0.001 mm) are too large.
ParsedMillimetres ParseMillimetres(std::string_view text, std::int64_t largest);

}  // namespace velmorta
