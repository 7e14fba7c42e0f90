#pragma once
// The board house's limits, in 0.001 mm, and the limits file that sets them.
//
// A limits file is text, one setting a line: a name, optionally "=", a size in
// millimetres (digits with an optional point and at most three significant decimals,
// optionally followed by "mm"). "#" starts a comment; blank lines count for nothing;
// a later line wins. An unknown name or a malformed size is an error naming the line.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "catalog/catalog.hpp"

namespace velmorta::check {

struct Limits {
  std::int32_t track = 127;         // narrowest stroke
  std::int32_t pad = 560;           // smallest land: the smallest drill and two rings
  std::int32_t spacing = 127;       // copper to copper of different groups
  std::int32_t drillMin = 300;      // plated holes
  std::int32_t drillMax = 6300;
  std::int32_t unplatedMin = 300;   // holes without plating
  std::int32_t unplatedMax = 6300;
  std::int32_t ring = 130;          // annular ring
  std::int32_t copperEdge = 300;    // copper to the board's edge
  std::int32_t holeSpacing = 500;   // hole to hole, edge to edge
  std::int32_t holeEdge = 300;      // hole to the board's edge
  std::int32_t merge = 1000;        // findings of one fault this near are reported once
  friend bool operator==(const Limits&, const Limits&) = default;
};

// The largest size a setting takes: 1 m.
inline constexpr std::int32_t kLargestLimit = 1'000'000;

struct LimitName {
  std::string_view name;
  std::int32_t Limits::*member;
  Text meaning;
};
// Every setting, in the order the report lists them.
std::span<const LimitName> LimitNames();

struct LimitsError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Sets one limit by name ("spacing", "0.15"), as a command-line option would. Errors
// are told in `language`.
void SetLimit(Limits& limits, std::string_view name, std::string_view value, Language language = Language::English);

// Reads a limits file over `limits`; `origin` names it in messages ("board.lim").
Limits ParseLimits(std::string_view text, std::string_view origin, Limits limits = {},
                   Language language = Language::English);

// A size in 0.001 mm as a limits file writes it: "0.127".
std::string Millimetres(std::int64_t micrometres);

// The limits as a file that ParseLimits reads back to the same values.
std::string LimitsText(const Limits& limits);

}  // namespace velmorta::check
