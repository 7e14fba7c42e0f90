// Hand-made boards with one known fault of each kind at a known place; the board without
// the fault passes.
#include "check/run_check.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "check/report.hpp"

namespace velmorta::check {
namespace {

Feature Land(std::int32_t x, std::int32_t y, std::int32_t d, std::uint8_t file, std::uint32_t index) {
  return {{x, y}, {x, y}, d, false, Role::Land, {file, index}};
}
Feature Track(Point a, Point b, std::int32_t width, std::uint8_t file, std::uint32_t index) {
  return {a, b, width, true, Role::Conductor, {file, index}};
}
Hole Drill(std::int32_t x, std::int32_t y, std::int32_t d, bool plated, std::uint32_t index) {
  return {{x, y}, d, plated, {5, index}};
}

// A 50 mm square, double-sided: lands A (10,10), B (20,10), C (10,20) and E (10,30) on
// both sides, drilled and plated; a bottom track A-B, a top track C-E; a mounting hole.
CheckBoard Clean() {
  CheckBoard b;
  b.doubleSided = true;
  const Point corners[] = {{0, 0}, {50000, 0}, {50000, 50000}, {0, 50000}};
  for (std::uint32_t i = 0; i < 4; ++i) b.outline.push_back({{corners[i], corners[(i + 1) % 4]}, 500, {7, i + 1}});
  const Point lands[] = {{10000, 10000}, {20000, 10000}, {10000, 20000}, {10000, 30000}};
  for (std::uint32_t i = 0; i < 4; ++i) {
    b[Side::Bottom].push_back(Land(lands[i].x, lands[i].y, 1800, 3, i + 1));
    b[Side::Top].push_back(Land(lands[i].x, lands[i].y, 1800, 4, i + 1));
    b.holes.push_back(Drill(lands[i].x, lands[i].y, 800, true, i + 1));
  }
  b[Side::Bottom].push_back(Track(lands[0], lands[1], 400, 1, 1));
  b[Side::Top].push_back(Track(lands[2], lands[3], 400, 2, 1));
  b.holes.push_back(Drill(40000, 40000, 3000, false, 5));
  b.frame = PadFrame{25400, 63500, 5000};
  return b;
}

struct Expected {
  Kind kind;
  Layer layer;
  Point at;
  double measured;
};

struct Case {
  const char* name;
  std::function<void(CheckBoard&, Limits&)> change;
  std::vector<Expected> expected;
};

void ExpectFindings(const CheckBoard& board, const Limits& limits, const std::vector<Expected>& expected,
                    const char* name) {
  const CheckResult result = RunCheck(board, limits);
  ASSERT_EQ(result.findings.size(), expected.size()) << name;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const Finding& f = result.findings[i];
    const Expected& e = expected[i];
    EXPECT_EQ(TraitsOf(f.kind).name, TraitsOf(e.kind).name) << name;
    EXPECT_EQ(NameOf(f.layer), NameOf(e.layer)) << name;
    EXPECT_EQ(f.at, e.at) << name << " at " << f.at.x << "," << f.at.y;
    EXPECT_NEAR(f.measured, e.measured, 1e-6) << name;
  }
  EXPECT_TRUE(RunCheck(board, limits, Search::AllPairs).findings == result.findings) << name;
}

TEST(RunCheck, OneFaultOfEachKindWherePutAndTheMendedBoardPasses) {
  using K = Kind;
  using L = Layer;
  const Case kCases[] = {
      {"thin track", [](CheckBoard& b, Limits&) { b[Side::Bottom][4].diameter = 100; },
       {{K::TrackWidth, L::Bottom, {15000, 10000}, 100}}},
      {"small land", [](CheckBoard& b, Limits& l) { b[Side::Bottom][2].diameter = 550; b.holes[2].diameter = 300; l.ring = 100; },
       {{K::PadSize, L::Bottom, {10000, 20000}, 550}}},
      {"small plated drill", [](CheckBoard& b, Limits&) { b.holes[0].diameter = 250; },
       {{K::DrillMin, L::Drill, {10000, 10000}, 250}}},
      {"large plated drill",
       [](CheckBoard& b, Limits&) { b[Side::Bottom][3].diameter = b[Side::Top][3].diameter = 7200; b.holes[3].diameter = 6400; },
       {{K::DrillMax, L::Drill, {10000, 30000}, 6400}}},
      {"small unplated drill", [](CheckBoard& b, Limits&) { b.holes[4].diameter = 200; },
       {{K::UnplatedMin, L::Drill, {40000, 40000}, 200}}},
      {"large unplated drill", [](CheckBoard& b, Limits&) { b.holes[4].diameter = 7000; },
       {{K::UnplatedMax, L::Drill, {40000, 40000}, 7000}}},
      {"drill as large as its lands", [](CheckBoard& b, Limits&) { b.holes[1].diameter = 1800; },
       {{K::RingBroken, L::Bottom, {20000, 10000}, 0}, {K::RingBroken, L::Top, {20000, 10000}, 0}}},
      {"drill off its land", [](CheckBoard& b, Limits&) { b.holes[1].at.y += 600; },
       {{K::RingBroken, L::Bottom, {20000, 10600}, -100}, {K::RingBroken, L::Top, {20000, 10600}, -100}}},
      {"thin ring on one side", [](CheckBoard& b, Limits&) { b[Side::Bottom][1].a.x = b[Side::Bottom][1].b.x = 20400; },
       {{K::RingThin, L::Bottom, {20000, 10000}, 100}}},
      {"plated hole without its top land", [](CheckBoard& b, Limits&) { b[Side::Top].erase(b[Side::Top].begin()); },
       {{K::NoLand, L::Top, {10000, 10000}, 0}}},
      {"land without a hole", [](CheckBoard& b, Limits&) { b[Side::Bottom].push_back(Land(30000, 20000, 1800, 3, 9)); },
       {{K::UndrilledLand, L::Bottom, {30000, 20000}, 0}}},
      {"lands of two holes overlapping",
       [](CheckBoard& b, Limits&) {
         b[Side::Top].push_back(Land(21500, 10000, 1800, 4, 9));
         b[Side::Bottom].push_back(Land(21500, 10000, 1000, 3, 9));
         b.holes.push_back(Drill(21500, 10000, 300, true, 9));
       },
       {{K::LandsTouch, L::Top, {20750, 10000}, -300}}},
      {"track too near a land of another group",
       [](CheckBoard& b, Limits&) { b[Side::Bottom].push_back(Track({10000, 21100}, {20000, 21100}, 200, 1, 2)); },
       {{K::Spacing, L::Bottom, {10000, 20550}, 100}}},
      {"track too near the edge",
       [](CheckBoard& b, Limits&) { b[Side::Top].push_back(Track({400, 30000}, {400, 45000}, 400, 2, 2)); },
       {{K::CopperEdge, L::Top, {0, 30000}, 200}}},
      {"holes too near", [](CheckBoard& b, Limits&) { b.holes.push_back(Drill(40000, 43300, 3000, false, 6)); },
       {{K::HoleSpacing, L::Drill, {40000, 41650}, 300}}},
      {"a hit twice", [](CheckBoard& b, Limits&) { b.holes.push_back(b.holes[4]); },
       {{K::DuplicateHit, L::Drill, {40000, 40000}, 0}}},
      {"hole too near the edge", [](CheckBoard& b, Limits&) { b.holes[4].at.y = 48400; },
       {{K::HoleEdge, L::Drill, {40000, 50000}, 100}}},
      {"hole across the edge", [](CheckBoard& b, Limits&) { b.holes[4].at = {49000, 25000}; },
       {{K::HoleEdge, L::Drill, {50000, 25000}, -500}}},
      // Near copper of one group is no fault: through the plated holes at A and (10, 15).
      {"near but connected through the top",
       [](CheckBoard& b, Limits&) {
         b[Side::Bottom].push_back(Track({10000, 11100}, {10000, 15000}, 200, 1, 2));
         b[Side::Bottom].push_back(Land(10000, 15000, 1800, 3, 9));
         b[Side::Top].push_back(Land(10000, 15000, 1800, 4, 9));
         b.holes.push_back(Drill(10000, 15000, 800, true, 9));
         b[Side::Top].push_back(Track({10000, 10000}, {9000, 15000}, 400, 2, 2));
       },
       {}},
      {"... and without the top track",
       [](CheckBoard& b, Limits&) {
         b[Side::Bottom].push_back(Track({10000, 11100}, {10000, 15000}, 200, 1, 2));
         b[Side::Bottom].push_back(Land(10000, 15000, 1800, 3, 9));
         b[Side::Top].push_back(Land(10000, 15000, 1800, 4, 9));
         b.holes.push_back(Drill(10000, 15000, 800, true, 9));
       },
       {{K::Spacing, L::Bottom, {10000, 10550}, 100}}},
      // The limits are the user's.
      {"a stricter house", [](CheckBoard&, Limits& l) { l.track = 401; },
       {{K::TrackWidth, L::Bottom, {15000, 10000}, 400}, {K::TrackWidth, L::Top, {10000, 25000}, 400}}},
  };
  ExpectFindings(Clean(), Limits{}, {}, "clean board");
  for (const Case& c : kCases) {
    CheckBoard board = Clean();
    Limits limits;
    c.change(board, limits);
    ExpectFindings(board, limits, c.expected, c.name);
  }
}

// A limit met exactly passes; one micrometre past it is a fault of its kind, measured
// as met. The clean board's measures, with a bottom track from C ending 0.4 mm short of
// the land at A.
TEST(RunCheck, EachLimitMetExactlyPassesAndOneMicrometrePastFails) {
  const struct {
    std::int32_t Limits::*limit;
    std::int32_t met;
    Kind kind;
  } kCases[] = {
      {&Limits::track, 400, Kind::TrackWidth},          {&Limits::pad, 1800, Kind::PadSize},
      {&Limits::spacing, 400, Kind::Spacing},           {&Limits::drillMin, 800, Kind::DrillMin},
      {&Limits::drillMax, 800, Kind::DrillMax},         {&Limits::unplatedMin, 3000, Kind::UnplatedMin},
      {&Limits::unplatedMax, 3000, Kind::UnplatedMax},  {&Limits::ring, 500, Kind::RingThin},
      {&Limits::copperEdge, 9100, Kind::CopperEdge},    {&Limits::holeSpacing, 9200, Kind::HoleSpacing},
      {&Limits::holeEdge, 8500, Kind::HoleEdge},
  };
  CheckBoard board = Clean();
  board[Side::Bottom].push_back(Track({10000, 20000}, {10000, 11500}, 400, 1, 2));
  for (const auto& c : kCases) {
    for (const std::int32_t past : {0, 1}) {
      Limits limits;
      limits.*c.limit = c.met + (TraitsOf(c.kind).largerIsWorse ? -past : past);
      const std::string what = std::string(TraitsOf(c.kind).name) + (past != 0 ? " one micrometre past" : " met exactly");
      int found = 0;
      for (const Finding& f : RunCheck(board, limits).findings) {
        if (f.kind != c.kind) continue;
        ++found;
        EXPECT_EQ(f.measured, c.met) << what;
      }
      EXPECT_EQ(found > 0, past != 0) << what;
    }
  }
}

TEST(RunCheck, SingleSidedBoardsHaveBottomCopperJoinedByWireLinks) {
  // Two nets on the bottom whose tracks pass 0.1 mm apart; a wire link (a jumper of the
  // top side) between their lands makes them one.
  CheckBoard b;
  b[Side::Bottom] = {Land(10000, 10000, 2000, 3, 1), Land(30000, 10000, 2000, 3, 2),
                     Track({10000, 10000}, {10000, 20000}, 400, 1, 1), Track({10500, 20000}, {10500, 30000}, 400, 1, 2),
                     Track({30000, 10000}, {10500, 30000}, 400, 1, 3)};
  b[Side::Top] = {Track({0, 0}, {60000, 60000}, 50, 2, 1)};  // not copper on a single-sided board
  b.holes = {Drill(10000, 10000, 800, false, 1), Drill(30000, 10000, 800, false, 2)};
  ExpectFindings(b, Limits{}, {{Kind::Spacing, Layer::Bottom, {10250, 20000}, 100}}, "no link");
  // A jumper drawn as two strokes, whose middle meets no copper.
  b.links.push_back({{{10000, 10000}, {20000, 5000}}, {2, 1}});
  ExpectFindings(b, Limits{}, {{Kind::Spacing, Layer::Bottom, {10250, 20000}, 100}}, "half a jumper");
  b.links.push_back({{{20000, 5000}, {30000, 10000}}, {2, 2}});
  ExpectFindings(b, Limits{}, {}, "linked");
  // Unplated holes on single-sided lands still need their rings.
  b.holes[0].diameter = 2000;
  ExpectFindings(b, Limits{}, {{Kind::RingBroken, Layer::Bottom, {10000, 10000}, 0}}, "broken ring");
}

TEST(RunCheck, OneFaultFoundManyTimesIsReportedOnce) {
  // Two tracks of four strokes each run 0.1 mm apart for 3 mm: one fault, at its worst
  // place; the same pair 10 mm farther along is a second fault.
  CheckBoard b;
  for (std::uint32_t i = 0; i < 4; ++i) {
    const std::int32_t x = 10000 + 750 * static_cast<std::int32_t>(i);
    b[Side::Bottom].push_back(Track({x, 10000}, {x + 750, 10000}, 200, 1, 2 * i));
    b[Side::Bottom].push_back(Track({x, 10300 + (i == 2 ? -10 : 0)}, {x + 750, 10300}, 200, 1, 2 * i + 1));
    b[Side::Bottom].push_back(Track({x + 10000, 20000}, {x + 10750, 20000}, 200, 1, 100 + i));
  }
  b[Side::Bottom].push_back(Track({10000, 20300}, {25000, 20300}, 200, 1, 200));
  const CheckResult result = RunCheck(b, Limits{});
  ASSERT_EQ(result.findings.size(), 2u);
  EXPECT_EQ(result.findings[0].at, (Point{11500, 10145}));
  EXPECT_NEAR(result.findings[0].measured, 90, 1e-9);
  EXPECT_GT(result.findings[0].count, 4u);
  EXPECT_EQ(result.findings[1].count, 4u);
  EXPECT_EQ(result.errors, 2u);
  EXPECT_EQ(CheckStatus(result, FailOn::Nothing), 0);
  EXPECT_EQ(CheckStatus(result, FailOn::Errors), 1);
  Limits apart;
  apart.merge = 0;
  EXPECT_GT(RunCheck(b, apart).findings.size(), 8u);
}

// The groups the check hands back are ConnectedGroups' (copper only: a wire link joins
// none), also when it stops on its budget after them (and none when it stops before:
// ABoardBeyondTheBudgetIsReportedUnchecked).
TEST(RunCheck, HandsBackTheCopperGroupsItFoundBeforeStopping) {
  CheckBoard linked;  // two lands joined only by a jumper's wire
  linked[Side::Bottom] = {Land(10000, 10000, 2000, 3, 1), Land(30000, 10000, 2000, 3, 2)};
  linked.links.push_back({{{10000, 10000}, {30000, 10000}}, {2, 1}});
  CheckBoard edgeCrowded;  // lands apart, each near every one of the outline's long strokes
  for (std::uint32_t i = 0; i < 3000; ++i) {
    const auto x = static_cast<std::int32_t>(1000 + 20 * i);
    edgeCrowded[Side::Bottom].push_back(Land(x, 1000 + x % 7000, 10, 3, i + 1));
  }
  for (std::uint32_t i = 0; i < 30000; ++i) {
    edgeCrowded.outline.push_back({{{0, static_cast<std::int32_t>(i % 50)}, {70000, 8000}}, 10, {7, i + 1}});
  }
  for (const CheckBoard* board : {&linked, &edgeCrowded}) {
    FoundGroups found;
    const CheckResult result = RunCheck(*board, Limits{}, Search::Indexed, Language::English, &found);
    EXPECT_EQ(result.stopped.empty(), board == &linked);
    EXPECT_FALSE(found.stopped);
    const std::vector<OriginGroup> groups = ConnectedGroups(*board, Limits{});
    EXPECT_EQ(groups.size(), (*board)[Side::Bottom].size());
    EXPECT_TRUE(found.groups == groups);
  }
  const std::vector<OriginGroup> apart = ConnectedGroups(linked, Limits{});
  EXPECT_NE(apart[0].group, apart[1].group);
}

// Strokes that all cross one another cost the check the square of their number: beyond
// its budget the board comes back unchecked, said so, and failing whoever asked to fail.
TEST(RunCheck, ABoardBeyondTheBudgetIsReportedUnchecked) {
  CheckBoard b;
  for (std::uint32_t i = 0; i < 12000; ++i) b[Side::Bottom].push_back(Track({0, 0}, {50000, 50000}, 400, 1, i + 1));
  FoundGroups groups;  // stopped while joining the copper: none
  const CheckResult result = RunCheck(b, Limits{}, Search::Indexed, Language::English, &groups);
  EXPECT_FALSE(result.stopped.empty());
  EXPECT_TRUE(groups.stopped && groups.groups.empty());
  EXPECT_TRUE(result.findings.empty());
  EXPECT_EQ(CheckStatus(result, FailOn::Nothing), 0);
  EXPECT_EQ(CheckStatus(result, FailOn::Errors), 1);
  EXPECT_TRUE(Summary(result).starts_with("board check: not done")) << Summary(result);
  const CheckResult japanese = RunCheck(b, Limits{}, Search::Indexed, Language::Japanese);
  EXPECT_EQ(Summary(japanese, Language::Japanese),
            "基板チェック: 実行されませんでした。基板はチェックされていません: 図形が密集していて、"
            "基板の大きさに見合う時間ではチェックできません\n");
}

}  // namespace
}  // namespace velmorta::check
