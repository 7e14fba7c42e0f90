#include "check/run_check.hpp"

#include "check/merge.hpp"

namespace velmorta::check {
namespace {

// The copper's groups: what touches on a side, joined through the barrels of plated
// holes (which also find the rings and the plated holes without a land).
void ConnectCopper(CheckState& s) {
  ConnectTouching(s);
  CheckHolesInLands(s);
}

// Each copper feature's group as it stands: Find() only shortens paths, and a group is
// named by its smallest member whatever joins it.
std::vector<OriginGroup> GroupsOf(CheckState& s) {
  std::vector<OriginGroup> groups;
  groups.reserve(s.features);
  for (const CopperSide& side : s.sides) {
    for (std::uint32_t i = 0; i < side.features->size(); ++i) {
      groups.push_back({(*side.features)[i].origin(), s.groups.Find(side.offset + i)});
    }
  }
  return groups;
}

// Every rule in order, then each fault once. Throws CheckStopped beyond the budget.
std::vector<Finding> Findings(CheckBoard board, const Limits& limits, Search search, FoundGroups* found) {
  CheckState s(std::move(board), limits, search);  // 1 the copper of each side, the holes and the outline indexed

  try {
    ConnectCopper(s);                    // 2, 3 the copper's groups
  } catch (const CheckStopped& stopped) {
    if (found != nullptr) found->stopped = stopped;
    throw;
  }
  if (found != nullptr) found->groups = GroupsOf(s);
  ConnectLinks(s);                       // 4 the wire links join them too
  s.groups.Flatten();                    // 5 from here on groups are final

  CheckSizes(s);                         // 6 tracks, lands, drills
  CheckUndrilledLands(s);                // 7
  CheckTouchingLands(s);                 // 8
  CheckSpacing(s);                       // 9
  CheckCopperToEdge(s);                  // 10
  CheckHoleSpacing(s);                   // 11
  CheckHoleToEdge(s);                    // 12

  return MergeNearby(std::move(s.findings), limits.merge);  // 13 each fault once
}

}  // namespace

CheckResult RunCheck(CheckBoard board, const Limits& limits, Search search, Language language,
                     FoundGroups* groups) {
  CheckResult result;
  result.frame = board.frame;
  try {
    result.findings = Findings(std::move(board), limits, search, groups);
  } catch (const CheckStopped& stopped) {
    result.stopped = Say(language, stopped.reason, {{"count", std::to_string(stopped.count)}});
    return result;
  }
  for (const Finding& f : result.findings) {
    ++(TraitsOf(f.kind).severity == Severity::Error ? result.errors : result.warnings);
  }
  return result;
}

std::vector<OriginGroup> ConnectedGroups(CheckBoard board, const Limits& limits) {
  CheckState s(std::move(board), limits, Search::Indexed);
  ConnectCopper(s);
  return GroupsOf(s);
}

int CheckStatus(const CheckResult& result, FailOn failOn) {
  if (!result.stopped.empty()) return failOn == FailOn::Nothing ? 0 : 1;  // nothing is known to pass
  switch (failOn) {
    case FailOn::Nothing: return 0;
    case FailOn::Errors: return result.errors > 0 ? 1 : 0;
    case FailOn::Warnings: return result.errors + result.warnings > 0 ? 1 : 0;
  }
  return 0;
}

}  // namespace velmorta::check
