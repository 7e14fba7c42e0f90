#pragma once
// The board check: every rule over the board, in order, then one report per fault.

#include "check/board_model.hpp"
#include "check/findings.hpp"
#include "check/limits.hpp"
#include "check/rules.hpp"

namespace velmorta::check {

// Throws CheckError when the board is larger than the check can number; a board that
// would cost more than the check's budget comes back unchecked, with `stopped` saying why. The check
// reorders the board's lists: move a board in that is not needed afterwards.
// `stopped` is told in `language`.
CheckResult RunCheck(CheckBoard board, const Limits& limits, Search search = Search::Indexed,
                     Language language = Language::English);

// What makes a run that checked the board fail (CheckStatus 1; the export then ends
// with a status of its own): nothing (the default: the check informs), any error, or
// any finding at all.
enum class FailOn : std::uint8_t { Nothing, Errors, Warnings };
int CheckStatus(const CheckResult& result, FailOn failOn);

// A copper feature's connected group, as the check finds them: copper that touches on a
// side, wire links, the barrels of plated holes. Two features share a group exactly when
// their `group` is equal.
struct OriginGroup {
  Origin origin;
  std::uint32_t group = 0;
};
// Every copper feature's group, side after side. Throws CheckError or CheckStopped as
// the check would.
std::vector<OriginGroup> ConnectedGroups(CheckBoard board, const Limits& limits);

}  // namespace velmorta::check
