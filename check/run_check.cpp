#include "check/run_check.hpp"

#include "check/merge.hpp"

namespace velmorta::check {
namespace {

// The groups' passes, shared by the check and by those who only ask for the groups.
void Connect(CheckState& s) {
  ConnectTouching(s);    // what touches on a side
  ConnectLinks(s);       // wire links
  CheckHolesInLands(s);  // the barrels of plated holes; also rings and plated holes without a land
  s.groups.Flatten();    // from here on groups are final
}

// Every rule in order, then each fault once. Throws CheckStopped beyond the budget.
std::vector<Finding> Findings(CheckBoard board, const Limits& limits, Search search) {
  CheckState s(std::move(board), limits, search);  // 1 the copper of each side, the holes and the outline indexed

  Connect(s);                            // 2 to 5 the connected groups

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

CheckResult RunCheck(CheckBoard board, const Limits& limits, Search search, Language language) {
  CheckResult result;
  result.frame = board.frame;
  try {
    result.findings = Findings(std::move(board), limits, search);
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
  Connect(s);
  std::vector<OriginGroup> groups;
  groups.reserve(s.features);
  for (const CopperSide& side : s.sides) {
    for (std::uint32_t i = 0; i < side.features->size(); ++i) {
      groups.push_back({(*side.features)[i].origin(), s.groups.Group(side.offset + i)});
    }
  }
  return groups;
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
