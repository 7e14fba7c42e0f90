#include "check/rules.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <utility>

#include "check/distance.hpp"

namespace velmorta::check {
namespace {

// The grid numbers items in 32 bits and lists each in a bounded number of cells.
constexpr std::size_t kMostItems = std::size_t{1} << 28;

std::int64_t Diameter(std::int32_t d) { return d < 0 ? 0 : d; }
std::int64_t HalfUp(std::int64_t d) { return (d + 1) / 2; }

Segment CoreOf(const Feature& f) { return f.stroke ? Segment{f.a, f.b} : Segment{f.a, f.a}; }
Segment PointSegment(Point p) { return {p, p}; }

Box BoxOf(Segment s, std::int64_t grow) {
  return {std::int64_t{std::min(s.a.x, s.b.x)} - grow, std::int64_t{std::min(s.a.y, s.b.y)} - grow,
          std::int64_t{std::max(s.a.x, s.b.x)} + grow, std::int64_t{std::max(s.a.y, s.b.y)} + grow};
}

Box PointBox(Point p) { return BoxOf(PointSegment(p), 0); }

// A reported position, rounded to the unit and kept within the 32-bit frame.
Point Round(double x, double y) {
  const auto one = [](double v) {
    v = std::clamp(v, double{std::numeric_limits<std::int32_t>::min()}, double{std::numeric_limits<std::int32_t>::max()});
    return static_cast<std::int32_t>(std::lround(v));
  };
  return {one(x), one(y)};
}

Point Middle(Segment s) {
  return Round((static_cast<double>(s.a.x) + s.b.x) / 2, (static_cast<double>(s.a.y) + s.b.y) / 2);
}

// The two items of a finding are named in one order, whatever order they arrived in: by
// origin, then by shape (tests and the benchmark may give several items one origin).
auto OrderKey(const Feature& f) {
  return std::tie(f.file, f.ordinal, f.a.x, f.a.y, f.b.x, f.b.y, f.diameter, f.stroke, f.role);
}
auto OrderKey(const Hole& h) { return std::tie(h.file, h.ordinal, h.at.x, h.at.y, h.diameter, h.plated); }
template <class Item>
std::pair<const Item&, const Item&> InOrder(const Item& a, const Item& b) {
  if (OrderKey(b) < OrderKey(a)) return {b, a};
  return {a, b};
}

// Before anything is kept: the findings and pairs together stay within the budget.
void Keeping(CheckState& s) { s.budget.Keep(s.findings.size() + s.nearPairs.size() + s.touchingLands.size()); }

void Add(CheckState& s, Kind kind, Layer layer, Point at, double measured, std::int32_t limit, Origin first,
         Origin second, std::uint32_t subjectA, std::uint32_t subjectB = 0) {
  Keeping(s);
  s.findings.push_back({kind, layer, at, measured, limit, first, second, subjectA, subjectB, 1});
}

std::uint32_t Count(std::size_t n, Text tooMany) {
  if (n > kMostItems) throw CheckError(tooMany, n);
  return static_cast<std::uint32_t>(n);
}

std::uint32_t TotalFeatures(const CheckBoard& board) {
  std::size_t total = Count(board[Side::Bottom].size(), Text::TooManyBottomFeatures);
  if (board.doubleSided) total += Count(board[Side::Top].size(), Text::TooManyTopFeatures);
  return static_cast<std::uint32_t>(total);  // at most 2^29
}

}  // namespace

Box BoxOf(const Feature& f) { return BoxOf(CoreOf(f), HalfUp(Diameter(f.diameter))); }
Box BoxOf(const Hole& h) { return BoxOf(PointSegment(h.at), HalfUp(Diameter(h.diameter))); }
Box BoxOf(const Edge& e) { return BoxOf(e.line, 0); }

CheckState::CheckState(CheckBoard b, const Limits& l, Search search)
    : board(std::move(b)), limits(l),
      budget(std::uint64_t{board[Side::Bottom].size()} + board[Side::Top].size() + board.holes.size() +
             board.outline.size() + board.links.size()),
      features(TotalFeatures(board)) {
  const std::uint32_t wires = Count(board.links.size(), Text::TooManyWireLinks);
  std::uint32_t offset = 0;
  for (const Side side : {Side::Bottom, Side::Top}) {
    if (side == Side::Top && !board.doubleSided) break;
    std::vector<Feature>& list = board[side];
    const auto count = static_cast<std::uint32_t>(list.size());
    sides.push_back({side, &list, offset, Finder(list, search, budget)});
    offset += count;
  }
  Count(board.holes.size(), Text::TooManyHoles);
  Count(board.outline.size(), Text::TooManyOutlineSegments);
  holes = Finder(board.holes, search, budget);
  outline = Finder(board.outline, search, budget);
  // Made once the lists are in order, not held while the ordering copies each of them.
  groups = UnionFind(features + wires);
  drilled.assign(features, 0);
}

void CheckSizes(CheckState& s) {
  const Limits& l = s.limits;
  for (const CopperSide& side : s.sides) {
    for (std::uint32_t i = 0; i < side.features->size(); ++i) {
      const Feature& f = (*side.features)[i];
      const std::int64_t d = Diameter(f.diameter);
      const std::uint32_t group = s.groups.Group(side.offset + i);
      if (f.stroke && d < l.track) {
        Add(s, Kind::TrackWidth, LayerOf(side.side), Middle(CoreOf(f)), double(d), l.track, f.origin(), {}, group);
      }
      if (f.role == Role::Land && d < l.pad) {
        Add(s, Kind::PadSize, LayerOf(side.side), Middle(CoreOf(f)), double(d), l.pad, f.origin(), {}, group);
      }
    }
  }
  for (std::uint32_t k = 0; k < s.board.holes.size(); ++k) {
    const Hole& h = s.board.holes[k];
    const std::int64_t d = Diameter(h.diameter);
    const std::int32_t least = h.plated ? l.drillMin : l.unplatedMin, most = h.plated ? l.drillMax : l.unplatedMax;
    if (d < least) Add(s, h.plated ? Kind::DrillMin : Kind::UnplatedMin, Layer::Drill, h.at, double(d), least, h.origin(), {}, k);
    if (d > most) Add(s, h.plated ? Kind::DrillMax : Kind::UnplatedMax, Layer::Drill, h.at, double(d), most, h.origin(), {}, k);
  }
}

void ConnectTouching(CheckState& s) {
  const std::int64_t clearance = s.limits.spacing;
  for (std::uint8_t k = 0; k < s.sides.size(); ++k) {
    const CopperSide& side = s.sides[k];
    const std::vector<Feature>& features = *side.features;
    for (std::uint32_t i = 0; i < features.size(); ++i) {
      const Feature& f = features[i];
      const Box near = Grow(BoxOf(f), clearance);
      side.index.Query(near, Boxes(features), [&](std::uint32_t j) {
        if (j <= i) return;
        const Feature& g = features[j];
        const std::int64_t touching = Diameter(f.diameter) + Diameter(g.diameter);
        // Lands of two holes that touch, whatever else joins them.
        if (f.role == Role::Land && g.role == Role::Land && !(f.a == g.a) &&
            CompareTwiceDistance(CoreOf(f), CoreOf(g), touching) <= 0) {
          Keeping(s);
          s.touchingLands.push_back({k, i, j});
        }
        // Groups only ever merge: copper of one group now is of one group at the end.
        if (s.groups.Find(side.offset + i) == s.groups.Find(side.offset + j)) return;
        // Touching counts: the copper of both includes its outline.
        if (CompareTwiceDistance(CoreOf(f), CoreOf(g), touching) <= 0) {
          s.groups.Unite(side.offset + i, side.offset + j);
        } else if (CompareTwiceDistance(CoreOf(f), CoreOf(g), touching + 2 * clearance) < 0) {
          Keeping(s);
          s.nearPairs.push_back({k, i, j});
        }
      });
    }
  }
}

namespace {

// Calls found(feature number) for each feature of a side whose copper holds p.
template <class Found>
void FeaturesAt(const CopperSide& side, Point p, Found&& found) {
  const std::vector<Feature>& features = *side.features;
  side.index.Query(PointBox(p), Boxes(features), [&](std::uint32_t j) {
    const Feature& f = features[j];
    if (CompareTwiceDistance(p, CoreOf(f), Diameter(f.diameter)) <= 0) found(j);
  });
}

}  // namespace

void ConnectLinks(CheckState& s) {
  // Each wire is a member of the groups, numbered after the features: it joins the
  // copper at its ends and the wires it shares an end with (a jumper drawn as a chain).
  const CopperSide& bottom = s.sides.front();
  const std::vector<Link>& links = s.board.links;
  std::vector<std::pair<std::pair<std::int32_t, std::int32_t>, std::uint32_t>> ends;
  ends.reserve(2 * links.size());
  for (std::uint32_t k = 0; k < links.size(); ++k) {
    const std::uint32_t wire = s.features + k;
    for (const Point end : {links[k].wire.a, links[k].wire.b}) {
      FeaturesAt(bottom, end, [&](std::uint32_t j) { s.groups.Unite(wire, bottom.offset + j); });
      ends.push_back({{end.x, end.y}, wire});
    }
  }
  std::sort(ends.begin(), ends.end());
  for (std::size_t i = 1; i < ends.size(); ++i) {
    if (ends[i].first == ends[i - 1].first) s.groups.Unite(ends[i - 1].second, ends[i].second);
  }
}

void CheckHolesInLands(CheckState& s) {
  constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
  for (std::uint32_t k = 0; k < s.board.holes.size(); ++k) {
    const Hole& h = s.board.holes[k];
    const std::int64_t hole = Diameter(h.diameter);
    std::uint32_t joined = kNone;  // a plated hole's barrel joins what holds its centre, on every side
    for (const CopperSide& side : s.sides) {
      const std::vector<Feature>& features = *side.features;
      // The land that leaves the widest ring; of equal ones the first in OrderKey.
      std::uint32_t best = kNone;
      double bestRing = 0;
      FeaturesAt(side, h.at, [&](std::uint32_t j) {
        if (h.plated) {
          if (joined == kNone) joined = side.offset + j;
          s.groups.Unite(joined, side.offset + j);
        }
        const Feature& f = features[j];
        if (f.role != Role::Land) return;
        s.drilled[side.offset + j] = 1;
        const double ring =
            double(Diameter(f.diameter) - hole) / 2 - ClosestPoints(PointSegment(h.at), CoreOf(f)).distance;
        if (best == kNone || ring > bestRing || (ring == bestRing && OrderKey(f) < OrderKey(features[best]))) {
          best = j;
          bestRing = ring;
        }
      });
      const Layer layer = LayerOf(side.side);
      if (best == kNone) {
        if (h.plated) Add(s, Kind::NoLand, layer, h.at, 0, 0, h.origin(), {}, k);
        continue;
      }
      const Feature& land = features[best];
      // ring = (land - hole) / 2 - d: broken when 2d >= land - hole, thin when 2d > land - hole - 2 limit.
      const std::int64_t room = Diameter(land.diameter) - hole;
      if (CompareTwiceDistance(h.at, CoreOf(land), room) >= 0) {
        Add(s, Kind::RingBroken, layer, h.at, bestRing, s.limits.ring, h.origin(), land.origin(), k);
      } else if (CompareTwiceDistance(h.at, CoreOf(land), room - 2 * std::int64_t{s.limits.ring}) > 0) {
        Add(s, Kind::RingThin, layer, h.at, bestRing, s.limits.ring, h.origin(), land.origin(), k);
      }
    }
  }
}

void CheckUndrilledLands(CheckState& s) {
  for (const CopperSide& side : s.sides) {
    for (std::uint32_t i = 0; i < side.features->size(); ++i) {
      const Feature& f = (*side.features)[i];
      if (f.role == Role::Land && s.drilled[side.offset + i] == 0) {
        Add(s, Kind::UndrilledLand, LayerOf(side.side), Middle(CoreOf(f)), 0, 0, f.origin(), {},
            s.groups.Group(side.offset + i));
      }
    }
  }
}

void CheckSpacing(CheckState& s) {
  for (const NearPair& pair : s.nearPairs) {
    const CopperSide& side = s.sides[pair.side];
    const std::uint32_t group = s.groups.Group(side.offset + pair.a), other = s.groups.Group(side.offset + pair.b);
    if (group == other) continue;
    const auto [f, g] = InOrder((*side.features)[pair.a], (*side.features)[pair.b]);
    const Closest c = ClosestPoints(CoreOf(f), CoreOf(g));
    Add(s, Kind::Spacing, LayerOf(side.side), Round((c.sx + c.tx) / 2, (c.sy + c.ty) / 2),
        c.distance - double(Diameter(f.diameter) + Diameter(g.diameter)) / 2, s.limits.spacing, f.origin(), g.origin(),
        std::min(group, other), std::max(group, other));
  }
  s.nearPairs.clear();
  s.nearPairs.shrink_to_fit();
}

void CheckTouchingLands(CheckState& s) {
  for (const NearPair& pair : s.touchingLands) {
    const CopperSide& side = s.sides[pair.side];
    const auto [f, g] = InOrder((*side.features)[pair.a], (*side.features)[pair.b]);
    const double distance = ClosestPoints(CoreOf(f), CoreOf(g)).distance;
    const Point at = Round((static_cast<double>(f.a.x) + g.a.x) / 2, (static_cast<double>(f.a.y) + g.a.y) / 2);
    Add(s, Kind::LandsTouch, LayerOf(side.side), at, distance - double(Diameter(f.diameter) + Diameter(g.diameter)) / 2,
        0, f.origin(), g.origin(), s.groups.Group(side.offset + pair.a));
  }
  s.touchingLands.clear();
  s.touchingLands.shrink_to_fit();
}

void CheckCopperToEdge(CheckState& s) {
  const std::int64_t clearance = s.limits.copperEdge;
  for (const CopperSide& side : s.sides) {
    const std::vector<Feature>& features = *side.features;
    for (std::uint32_t i = 0; i < features.size(); ++i) {
      const Feature& f = features[i];
      const Box near = Grow(BoxOf(f), clearance);
      const std::int64_t d = Diameter(f.diameter);
      s.outline.Query(near, Boxes(s.board.outline), [&](std::uint32_t e) {
        const Edge& edge = s.board.outline[e];
        if (CompareTwiceDistance(CoreOf(f), edge.line, d + 2 * clearance) >= 0) return;
        const Closest c = ClosestPoints(CoreOf(f), edge.line);
        Add(s, Kind::CopperEdge, LayerOf(side.side), Round(c.tx, c.ty), c.distance - double(d) / 2,
            s.limits.copperEdge, f.origin(), edge.origin, s.groups.Group(side.offset + i));
      });
    }
  }
}

void CheckHoleSpacing(CheckState& s) {
  const std::int64_t clearance = s.limits.holeSpacing;
  const std::vector<Hole>& holes = s.board.holes;
  for (std::uint32_t i = 0; i < holes.size(); ++i) {
    const Hole& h = holes[i];
    const Box near = Grow(BoxOf(h), clearance);
    s.holes.Query(near, Boxes(holes), [&](std::uint32_t j) {
      if (j <= i) return;
      const auto [first, second] = InOrder(h, holes[j]);
      const Hole& o = holes[j];
      const std::int64_t hd = Diameter(h.diameter), od = Diameter(o.diameter);
      if (h.at == o.at && hd == od && h.plated == o.plated) {
        Add(s, Kind::DuplicateHit, Layer::Drill, h.at, 0, 0, first.origin(), second.origin(), i, j);
        return;
      }
      if (CompareTwiceDistance(h.at, o.at, hd + od + 2 * clearance) >= 0) return;
      const double distance = std::hypot(static_cast<double>(h.at.x) - o.at.x, static_cast<double>(h.at.y) - o.at.y);
      Add(s, Kind::HoleSpacing, Layer::Drill, Round((static_cast<double>(h.at.x) + o.at.x) / 2, (static_cast<double>(h.at.y) + o.at.y) / 2),
          distance - double(hd + od) / 2, s.limits.holeSpacing, first.origin(), second.origin(), i, j);
    });
  }
}

void CheckHoleToEdge(CheckState& s) {
  const std::int64_t clearance = s.limits.holeEdge;
  for (std::uint32_t k = 0; k < s.board.holes.size(); ++k) {
    const Hole& h = s.board.holes[k];
    const Box near = Grow(BoxOf(h), clearance);
    const std::int64_t d = Diameter(h.diameter);
    s.outline.Query(near, Boxes(s.board.outline), [&](std::uint32_t e) {
      const Edge& edge = s.board.outline[e];
      if (CompareTwiceDistance(h.at, edge.line, d + 2 * clearance) >= 0) return;
      const Closest c = ClosestPoints(PointSegment(h.at), edge.line);
      Add(s, Kind::HoleEdge, Layer::Drill, Round(c.tx, c.ty), c.distance - double(d) / 2, s.limits.holeEdge,
          h.origin(), edge.origin, k);
    });
  }
}

}  // namespace velmorta::check
