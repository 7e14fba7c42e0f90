#include "check/merge.hpp"

#include <algorithm>
#include <numeric>
#include <tuple>

#include "check/union_find.hpp"

namespace velmorta::check {
namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0); }

struct Placed {
  Kind kind;
  Layer layer;
  std::uint32_t subjectA, subjectB;
  std::int64_t cx, cy;
  std::uint32_t finding;
};

auto Key(const Placed& p) { return std::tuple(p.kind, p.layer, p.subjectA, p.subjectB, p.cx, p.cy); }

// Whether a reports its fault better than b: the worse measure, then the report order.
bool Worse(const Finding& a, const Finding& b) {
  if (a.measured != b.measured) return TraitsOf(a.kind).largerIsWorse ? a.measured > b.measured : a.measured < b.measured;
  return ReportOrder(a, b);
}

}  // namespace

std::vector<Finding> MergeNearby(std::vector<Finding> findings, std::int32_t distance) {
  const std::int64_t cell = std::max<std::int32_t>(distance, 1);
  std::vector<Placed> placed;
  placed.reserve(findings.size());
  for (std::uint32_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    placed.push_back({f.kind, f.layer, f.subjectA, f.subjectB, FloorDiv(f.at.x, cell), FloorDiv(f.at.y, cell), i});
  }
  std::sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
    return std::tuple(Key(a), a.finding) < std::tuple(Key(b), b.finding);
  });

  UnionFind faults(static_cast<std::uint32_t>(findings.size()));
  for (std::size_t i = 0; i < placed.size();) {
    std::size_t end = i + 1;
    while (end < placed.size() && Key(placed[end]) == Key(placed[i])) faults.Unite(placed[i].finding, placed[end++].finding);
    if (distance > 0) {
      // The touching squares after this one in the sort order; the others find this one.
      for (const auto& [dx, dy] : {std::pair{0, 1}, std::pair{1, -1}, std::pair{1, 0}, std::pair{1, 1}}) {
        Placed probe = placed[i];
        probe.cx += dx;
        probe.cy += dy;
        const auto found = std::lower_bound(placed.begin(), placed.end(), probe,
                                            [](const Placed& a, const Placed& b) { return Key(a) < Key(b); });
        if (found != placed.end() && Key(*found) == Key(probe)) faults.Unite(placed[i].finding, found->finding);
      }
    }
    i = end;
  }

  // Each fault by its worst finding, counting them all.
  std::vector<std::uint32_t> best(findings.size(), 0), count(findings.size(), 0);
  for (std::uint32_t i = 0; i < findings.size(); ++i) {
    const std::uint32_t root = faults.Find(i);
    if (count[root]++ == 0 || Worse(findings[i], findings[best[root]])) best[root] = i;
  }
  std::vector<Finding> merged;
  for (std::uint32_t i = 0; i < findings.size(); ++i) {
    if (count[i] == 0) continue;
    Finding f = findings[best[i]];
    f.count = count[i];
    merged.push_back(f);
  }
  std::sort(merged.begin(), merged.end(), ReportOrder);
  return merged;
}

}  // namespace velmorta::check
