// The grid must find what comparing every pair finds: on thousands of small generated
// boards, the same findings with the same values, positions, origins and counts; and
// so must the same board with its lists in any order.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

#include "check/run_check.hpp"

namespace velmorta::check {
namespace {

class Generator {
 public:
  explicit Generator(std::uint64_t seed) : random_(seed) {}

  CheckBoard Board() {
    CheckBoard b;
    b.doubleSided = Pick(2) == 0;
    // Most boards are a few millimetres across so that features meet; some sit at the
    // ends of the 32-bit frame, some have features of any size there.
    const std::uint64_t kind = Pick(10);
    span_ = kind == 0 ? (std::int64_t{1} << 32) - 1 : 2000 + Int(30000);
    origin_ = kind == 1 ? INT_MAX - span_ : kind == 2 ? INT_MIN : Int(100000) - 50000;
    const std::int64_t biggest = kind == 0 ? INT_MAX : 4000;
    for (const Side side : {Side::Bottom, Side::Top}) {
      for (std::uint32_t i = 0, n = static_cast<std::uint32_t>(Pick(40)); i < n; ++i) {
        const Point a = At();
        const bool stroke = Pick(3) != 0;
        b[side].push_back({a, stroke && Pick(4) != 0 ? Near(a) : a,
                           Pick(20) == 0 ? -5 : static_cast<std::int32_t>(Int(biggest + 1)), stroke,
                           stroke || Pick(3) == 0 ? Role::Conductor : Role::Land,
                           {static_cast<std::uint8_t>(side == Side::Bottom ? 1 : 2), i}});
      }
    }
    const auto& bottom = b[Side::Bottom];
    for (std::uint32_t i = 0, n = static_cast<std::uint32_t>(Pick(25)); i < n; ++i) {
      // Mostly on a land, so that rings and groups across sides are exercised.
      const Point at = !bottom.empty() && Pick(3) != 0 ? bottom[Pick(bottom.size())].a : At();
      b.holes.push_back({at, static_cast<std::int32_t>(Int(3000)), Pick(3) != 0, {5, i}});
      if (Pick(8) == 0) b.holes.push_back(b.holes.back());  // a duplicate hit
    }
    for (std::uint32_t i = 0, n = static_cast<std::uint32_t>(Pick(12)); i < n; ++i) {
      const Point a = At();
      b.outline.push_back({{a, Pick(2) == 0 ? Near(a) : At()}, 500, {7, i}});
    }
    for (std::uint32_t i = 0, n = static_cast<std::uint32_t>(Pick(4)); i < n && !bottom.empty(); ++i) {
      b.links.push_back({{bottom[Pick(bottom.size())].a, At()}, {2, i}});
    }
    return b;
  }

  Limits SomeLimits() {
    Limits l;
    for (const LimitName& n : LimitNames()) {
      if (Pick(3) == 0) l.*(n.member) = static_cast<std::int32_t>(Int(Pick(10) == 0 ? kLargestLimit : 3000));
    }
    return l;
  }

 private:
  std::uint64_t Pick(std::uint64_t n) { return n == 0 ? 0 : random_() % n; }
  std::int64_t Int(std::int64_t n) { return static_cast<std::int64_t>(Pick(static_cast<std::uint64_t>(n))); }
  static std::int32_t Clamp(std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX)); }
  Point At() { return {Clamp(origin_ + Int(span_ + 1)), Clamp(origin_ + Int(span_ + 1))}; }
  // Strokes a few millimetres long, axis-parallel or not.
  Point Near(Point p) {
    const std::uint64_t way = Pick(3);
    return {way == 1 ? p.x : Clamp(p.x + Int(8001) - 4000), way == 0 ? p.y : Clamp(p.y + Int(8001) - 4000)};
  }

  std::mt19937_64 random_;
  std::int64_t span_ = 0, origin_ = 0;
};

TEST(Search, TheGridFindsWhatAllPairsFind) {
  std::size_t findings = 0;
  bool seen[kKindCount] = {};
  for (std::uint64_t seed = 0; seed < 3000; ++seed) {
    Generator generate(seed);
    const CheckBoard board = generate.Board();
    const Limits limits = generate.SomeLimits();
    const CheckResult indexed = RunCheck(board, limits, Search::Indexed);
    const CheckResult plain = RunCheck(board, limits, Search::AllPairs);
    ASSERT_TRUE(indexed.findings == plain.findings) << "seed " << seed;
    EXPECT_EQ(indexed.errors, plain.errors);
    for (const Finding& f : plain.findings) seen[static_cast<int>(f.kind)] = true;
    findings += plain.findings.size();
  }
  // The boards must exercise every rule, or the comparison proves little.
  for (int k = 0; k < kKindCount; ++k) EXPECT_TRUE(seen[k]) << TraitsOf(static_cast<Kind>(k)).name;
  EXPECT_GT(findings, 30000u);
}

// A board without a fault: nets, each in a 10 mm square of its own, of two to five
// drilled sites 2.5 mm apart joined by top tracks; the bottom has a star of tracks around
// each site that may touch or pass close to another site's star, all of one net
// through the plated holes and the top.
CheckBoard CleanBoard(std::uint64_t seed) {
  std::mt19937_64 random(seed);
  const auto pick = [&](std::int32_t n) { return static_cast<std::int32_t>(random() % static_cast<std::uint64_t>(n)); };
  CheckBoard b;
  b.doubleSided = true;
  const std::int32_t nets = 3 + pick(4), side = nets * 10000;
  const Point corners[] = {{-1000, -1000}, {side + 1000, -1000}, {side + 1000, side + 1000}, {-1000, side + 1000}};
  for (std::uint32_t i = 0; i < 4; ++i) b.outline.push_back({{corners[i], corners[(i + 1) % 4]}, 500, {7, i}});
  std::uint32_t n = 0;
  const auto add = [&](Side s, Point a, Point e, std::int32_t d, bool stroke, Role role) {
    b[s].push_back({a, e, d, stroke, role, {static_cast<std::uint8_t>(s == Side::Bottom ? 1 : 2), n++}});
  };
  for (std::int32_t nx = 0; nx < nets; ++nx) {
    for (std::int32_t ny = 0; ny < nets; ++ny) {
      std::vector<Point> sites;
      for (std::int32_t k = 0; k < 9; ++k) {
        if (pick(2) == 0) sites.push_back({nx * 10000 + 2500 + 2500 * (k % 3), ny * 10000 + 2500 + 2500 * (k / 3)});
      }
      if (sites.size() < 2) continue;
      std::shuffle(sites.begin(), sites.end(), random);
      for (std::size_t k = 0; k < sites.size(); ++k) {
        const Point at = sites[k];
        add(Side::Bottom, at, at, 1800, false, Role::Land);
        add(Side::Top, at, at, 1800, false, Role::Land);
        b.holes.push_back({at, 800, true, {5, n++}});
        if (k > 0) add(Side::Top, sites[k - 1], at, 200 + pick(201), true, Role::Conductor);
        for (std::int32_t arm = pick(5); arm > 0; --arm) {
          const Point end{at.x + pick(2801) - 1400, at.y + pick(2801) - 1400};
          add(Side::Bottom, at, end, 200 + pick(201), true, Role::Conductor);
        }
      }
    }
  }
  return b;
}

// Every list of the board in another order: the features keep their origins.
CheckBoard Shuffled(CheckBoard b, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  for (auto& copper : b.copper) std::shuffle(copper.begin(), copper.end(), random);
  std::shuffle(b.holes.begin(), b.holes.end(), random);
  std::shuffle(b.outline.begin(), b.outline.end(), random);
  std::shuffle(b.links.begin(), b.links.end(), random);
  return b;
}

// What the report says of each finding: the groups' numbers name a group by a member,
// and are left out.
std::vector<Finding> Reported(CheckResult result) {
  for (Finding& f : result.findings) f.subjectA = f.subjectB = 0;
  std::sort(result.findings.begin(), result.findings.end(), ReportOrder);
  return result.findings;
}

TEST(RunCheck, FindsTheSameInAnyOrderOfTheFeatures) {
  int falseFindings = 0, differ = 0;
  for (std::uint64_t seed = 0; seed < 300; ++seed) {
    const CheckBoard clean = CleanBoard(seed);
    for (std::uint64_t order = 0; order < 4; ++order) {
      falseFindings += RunCheck(Shuffled(clean, order), Limits{}).findings.empty() ? 0 : 1;
    }
  }
  for (std::uint64_t seed = 0; seed < 1000; ++seed) {
    Generator generate(seed);
    const CheckBoard board = generate.Board();
    const Limits limits = generate.SomeLimits();
    const std::vector<Finding> expected = Reported(RunCheck(board, limits));
    for (std::uint64_t order = 1; order <= 3; ++order) {
      differ += Reported(RunCheck(Shuffled(board, order), limits)) == expected ? 0 : 1;
    }
  }
  EXPECT_EQ(falseFindings, 0);
  EXPECT_EQ(differ, 0);
}

}  // namespace
}  // namespace velmorta::check
