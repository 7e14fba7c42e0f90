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

}  // namespace
}  // namespace velmorta::check
