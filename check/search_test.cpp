// The grid must find what comparing every pair finds: on thousands of small generated
// boards, the same findings with the same values, positions, sources and counts.
#include <gtest/gtest.h>

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
    const int kind = static_cast<int>(Pick(10));
    span_ = kind == 0 ? (std::int64_t{1} << 32) - 1 : 2000 + static_cast<std::int64_t>(Pick(30000));
    origin_ = kind == 1 ? INT_MAX - span_ : kind == 2 ? INT_MIN : static_cast<std::int64_t>(Pick(100000)) - 50000;
    const std::int32_t biggest = kind == 0 ? INT_MAX : 4000;
    for (const Side side : {Side::Bottom, Side::Top}) {
      const std::uint64_t n = Pick(40);
      for (std::uint64_t i = 0; i < n; ++i) {
        Feature f;
        f.a = At();
        f.stroke = Pick(3) != 0;
        f.b = f.stroke ? (Pick(4) == 0 ? f.a : Near(f.a)) : f.a;
        f.diameter = Pick(20) == 0 ? -5 : static_cast<std::int32_t>(Pick(static_cast<std::uint64_t>(biggest) + 1));
        f.role = f.stroke || Pick(3) == 0 ? Role::Conductor : Role::Land;
        f.source = {static_cast<std::uint8_t>(side == Side::Bottom ? 1 : 2), static_cast<std::uint32_t>(i)};
        b[side].push_back(f);
      }
    }
    const std::uint64_t holes = Pick(25);
    for (std::uint64_t i = 0; i < holes; ++i) {
      Hole h;
      // Mostly on a land, so that rings and groups across sides are exercised.
      const auto& bottom = b[Side::Bottom];
      h.at = !bottom.empty() && Pick(3) != 0 ? bottom[Pick(bottom.size())].a : At();
      h.diameter = static_cast<std::int32_t>(Pick(3000));
      h.plated = Pick(3) != 0;
      h.source = {5, static_cast<std::uint32_t>(i)};
      b.holes.push_back(h);
      if (Pick(8) == 0) b.holes.push_back(h);  // a duplicate hit
    }
    const std::uint64_t edges = Pick(12);
    for (std::uint64_t i = 0; i < edges; ++i) {
      const Point a = At();
      b.outline.push_back({{a, Pick(2) == 0 ? Near(a) : At()}, 500, {7, static_cast<std::uint32_t>(i)}});
    }
    const std::uint64_t links = Pick(4);
    for (std::uint64_t i = 0; i < links && !b[Side::Bottom].empty(); ++i) {
      b.links.push_back({{b[Side::Bottom][Pick(b[Side::Bottom].size())].a, At()}, {2, static_cast<std::uint32_t>(i)}});
    }
    return b;
  }

  check::Limits SomeLimits() {
    check::Limits l;
    for (const LimitName& n : LimitNames()) {
      if (Pick(3) == 0) l.*(n.member) = static_cast<std::int32_t>(Pick(Pick(10) == 0 ? kLargestLimit : 3000));
    }
    return l;
  }

 private:
  std::uint64_t Pick(std::uint64_t n) { return n == 0 ? 0 : random_() % n; }
  static std::int32_t Clamp(std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX)); }
  Point At() {
    const auto one = [&] { return Clamp(origin_ + static_cast<std::int64_t>(Pick(static_cast<std::uint64_t>(span_) + 1))); };
    return {one(), one()};
  }
  // Strokes a few millimetres long, axis-parallel or not.
  Point Near(Point p) {
    const auto step = [&] { return static_cast<std::int64_t>(Pick(8001)) - 4000; };
    switch (Pick(3)) {
      case 0: return {Clamp(p.x + step()), p.y};
      case 1: return {p.x, Clamp(p.y + step())};
      default: return {Clamp(p.x + step()), Clamp(p.y + step())};
    }
  }

  std::mt19937_64 random_;
  std::int64_t span_ = 0, origin_ = 0;
};

bool Same(const Finding& a, const Finding& b) {
  return a.kind == b.kind && a.layer == b.layer && a.at == b.at && a.measured == b.measured && a.limit == b.limit &&
         a.first == b.first && a.second == b.second && a.subjectA == b.subjectA && a.subjectB == b.subjectB &&
         a.count == b.count;
}

TEST(Search, TheGridFindsWhatAllPairsFind) {
  std::size_t findings = 0, kinds = 0;
  bool seen[kKindCount] = {};
  for (std::uint64_t seed = 0; seed < 3000; ++seed) {
    Generator generate(seed);
    const CheckBoard board = generate.Board();
    const Limits limits = generate.SomeLimits();
    const CheckResult indexed = RunCheck(board, limits, Search::Indexed);
    const CheckResult plain = RunCheck(board, limits, Search::AllPairs);
    ASSERT_EQ(indexed.findings.size(), plain.findings.size()) << "seed " << seed;
    for (std::size_t i = 0; i < plain.findings.size(); ++i) {
      ASSERT_TRUE(Same(indexed.findings[i], plain.findings[i]))
          << "seed " << seed << " finding " << i << ": " << TraitsOf(plain.findings[i].kind).name;
      seen[static_cast<int>(plain.findings[i].kind)] = true;
    }
    EXPECT_EQ(indexed.errors, plain.errors);
    findings += plain.findings.size();
  }
  for (const bool s : seen) kinds += s ? 1 : 0;
  // The boards must exercise every rule, or the comparison proves little.
  EXPECT_EQ(kinds, static_cast<std::size_t>(kKindCount));
  EXPECT_GT(findings, 30000u);
}

}  // namespace
}  // namespace velmorta::check
