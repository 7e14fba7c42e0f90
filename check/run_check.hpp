#pragma once
// The board check: every rule over the board, in order, then one report per fault.

#include <optional>
#include <vector>

#include "check/board_model.hpp"
#include "check/findings.hpp"
#include "check/limits.hpp"
#include "check/rules.hpp"

namespace velmorta::check {

// A copper feature's connected group: copper that touches on a side and the barrels of
// plated holes join; the wire links do not (a board file joins copper only). Two
// features share a group exactly when their `group` is equal.
struct OriginGroup {
  Origin origin;
  std::uint32_t group = 0;
  friend bool operator==(const OriginGroup&, const OriginGroup&) = default;
};

// The groups as the check hands them back when asked: found right after its
// connectivity passes, before the costlier rules, so also on a board it stops on later.
struct FoundGroups {
  std::vector<OriginGroup> groups;      // every copper feature's, side after side
  std::optional<CheckStopped> stopped;  // the check stopped before it had them: no groups
};

// Throws CheckError when the board is larger than the check can number; a board that
// would cost more than the check's budget comes back unchecked, with `stopped` saying why. The check
// reorders the board's lists: move a board in that is not needed afterwards.
// `stopped` is told in `language`. The connected groups go to `groups` when given.
CheckResult RunCheck(CheckBoard board, const Limits& limits, Search search = Search::Indexed,
                     Language language = Language::English, FoundGroups* groups = nullptr);

// What makes a run that checked the board fail (CheckStatus 1; the export then ends
// with a status of its own): nothing (the default: the check informs), any error, or
// any finding at all.
enum class FailOn : std::uint8_t { Nothing, Errors, Warnings };
int CheckStatus(const CheckResult& result, FailOn failOn);

// Every copper feature's group, side after side, as the check would hand them back.
// Throws CheckError or CheckStopped as the check would.
std::vector<OriginGroup> ConnectedGroups(CheckBoard board, const Limits& limits);

}  // namespace velmorta::check
