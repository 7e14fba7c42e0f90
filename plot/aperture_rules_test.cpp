#include "plot/aperture_rules.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <utility>
#include <vector>

#include "base/fatal.hpp"
#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

TEST(GuardedCode, MatchesTheDefaultOfThePitchFromTheLastEntryThenDefersZeroCodes) {
  const CodeList kSpecimen = {{3, 10}, {5, 11}, {6, 0}, {8, 13}};
  const struct {
    CodeList list;
    PitchPair defaults;
    int pitch;
    std::int32_t code;  // 0: the run ends
  } kCases[] = {
      {kSpecimen, {6, 5}, 1, 11},  // key 6 has code 0: the entry before it
      {kSpecimen, {7, 5}, 1, 0},
      {kSpecimen, {7, 5}, 2, 11},
      {kSpecimen, {3, 8}, 2, 13},
      {kSpecimen, {7, 7}, 0, 13},  // pitch 0: the last entry, whatever the defaults
      {{{3, 10}, {5, 0}, {6, 0}}, {0, 0}, 0, 10},
      {{{8, 1}, {8, 2}}, {8, 8}, 1, 2},
      {{{3, 10}, {8, 2}}, {3, 3}, 1, 10},  // a match at the first entry is found
      {{{6, 0}, {3, 0}}, {6, 6}, 1, 0},    // zero codes down past the first entry
      {{{8, 0}}, {8, 8}, 0, 0},
      {{}, {0, 0}, 1, 0},
      {{}, {0, 0}, 0, 0},
  };
  for (const auto& c : kCases) {
    const ListIndex list(c.list);
    std::int32_t code = 0;
    bool stopped = false;
    try {
      code = GuardedCode(list, c.defaults, static_cast<PitchMode>(c.pitch), Message::BadFixedLandDefault);
    } catch (const FatalStop& stop) {
      stopped = true;
      EXPECT_EQ(stop.message, Message::BadFixedLandDefault);
    }
    EXPECT_EQ(code, c.code) << c.list.size() << " entries, defaults " << c.defaults.first << " "
                            << c.defaults.second << ", pitch " << c.pitch;
    EXPECT_EQ(stopped, c.code == 0) << c.list.size() << " entries, pitch " << c.pitch;
  }
}

TEST(GuardedCode, EachLookUpUsesItsListDefaultMessageAndFiles) {
  // The line apertures of the examples: keys 3, 5, 6, 8 with codes 10, 11, 0, 13.
  const std::string kLines = ">D0.3 10\n>D0.5 11\n>D0.6 0\n>D0.8 13\n>R1.64 21\n>r1 1.64\n>r2 1.64\n";
  const auto config = [&](const char* mode, const std::string& rest) {
    return std::string(">").append(mode).append("\n>L0\n").append(kLines).append(rest);
  };
  const std::string kTool = ">T8 1\n>d1 0.8\n>d2 0.8\n";
  using Files = std::vector<std::pair<int, std::string>>;
  const struct {
    const char* name;
    std::string configuration;
    int pitch, type;
    std::optional<Message> fatal;
    Files files;
  } kCases[] = {
      {"fixed bottom and top line apertures", config("L1", ">l1 0.6\n>l2 0.5\n" + kTool), 1, 0, {},
       {{1, "D11*G01X0Y0*M00*"}, {2, "D11*G01X0Y0*M00*"}}},
      {"no key 7 for pitch 1", config("L1", ">l1 0.7\n>l2 0.5\n" + kTool), 1, 0, Message::BadLineWidthDefault,
       {{1, ""}, {2, ""}, {5, "T1\r\n"}}},
      {"pitch 2 takes the second default", config("L1", ">l1 0.7\n>l2 0.8\n" + kTool), 2, 1, {},
       {{1, "D13*G01X0Y0*M00*"}, {2, "D13*G01X0Y0*M00*"}}},
      {"pitch 0 takes the last code", config("L1", ">l1 0.7\n>l2 0.7\n>r1 9\n" + kTool), 0, 1, {},
       {{1, "D13*G01X0Y0*M00*"}, {3, "D21*D02*G01X0Y0*M00*"}, {4, "D21*D02*G01X0Y0*M00*"}}},
      {"fixed land aperture on both land files", config("L1", ">l1 0.6\n" + kTool), 1, 1, {},
       {{3, "D21*D02*G01X0Y0*M00*"}, {4, "D21*D02*G01X0Y0*M00*"}}},
      {"no fixed land", config("L1", ">l1 0.6\n>r1 1.65\n" + kTool), 1, 1, Message::BadFixedLandDefault,
       {{3, ""}, {4, ""}}},
      {"empty line list", ">L1\n>L0\n>R1.64 21\n>r1 1.64\n" + kTool, 1, 0, Message::BadLineWidthDefault, {}},
      {"empty land list", ">L1\n>L0\n>D0.8 13\n>l1 0.8\n" + kTool, 1, 0, Message::BadFixedLandDefault, {}},
      {"default drill tool", config("LX", ">l1 0.6\n" + kTool), 1, 0, {},
       {{5, "T1\r\nM02\r\n"}, {6, "D1*D02*G01X0Y0*M00*"}}},
      {"default drill tool of pitch 2", config("LX", ">l2 0.5\n>T7 4\n>T8 0\n>d2 0.8\n"), 2, 0, {},
       {{5, "T4\r\nM02\r\n"}, {6, "D4*D02*G01X0Y0*M00*"}}},
      {"default drill tool of pitch 0", config("LX", ">T8 1\n>T9 0\n"), 0, 0, {}, {{5, "T1\r\nM02\r\n"}}},
      {"no tool with the default drill", config("LX", ">l1 0.6\n>T8 1\n>d1 0.9\n"), 1, 0,
       Message::BadHoleDefault, {{5, ""}, {6, ""}}},
      {"zero codes down past the first tool", config("LX", ">l1 0.6\n>T8 0\n>T7 4\n>d1 0.8\n"), 1, 0,
       Message::BadHoleDefault, {}},
      {"no tools", config("LX", ">l1 0.6\n>d1 0.8\n"), 1, 0, Message::BadHoleDefault, {}},
      {"no tools, pitch 0", config("LX", ""), 0, 0, Message::BadHoleDefault, {}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const testing::Conversion run = testing::EmitBoard(c.configuration, testing::FramedBoard(c.pitch, c.type));
    EXPECT_EQ(run.fatal, c.fatal);
    for (const auto& [n, text] : c.files) EXPECT_EQ(run.out[static_cast<std::size_t>(n)], text) << "file " << n;
  }
}

// Ranges of size codes and the key each gives; 0 for none.
struct Range {
  int pitch;
  std::int32_t lo, hi, key;
};

void CheckRanges(const char* what, const std::vector<Range>& ranges,
                 const std::function<std::optional<std::int32_t>(PitchMode, std::int32_t)>& classKey) {
  for (const Range& r : ranges) {
    for (const std::int32_t code : {r.lo, r.hi}) {
      EXPECT_EQ(classKey(static_cast<PitchMode>(r.pitch), code).value_or(0), r.key)
          << what << ", pitch " << r.pitch << ", code " << code;
    }
  }
  for (const int pitch : {0, 3, -1}) {
    for (const std::int32_t code : {INT_MIN, -1, 0, 1, 5, 8, 15, 30, INT_MAX}) {
      EXPECT_FALSE(classKey(static_cast<PitchMode>(pitch), code)) << what << ", pitch " << pitch << ", code " << code;
    }
  }
}

TEST(SizeClasses, KeysAtEveryBound) {
  CheckRanges("land", {{1, INT_MIN, 6, 164}, {1, 7, INT_MAX, 224},
                       {2, INT_MIN, 5, 164}, {2, 6, 7, 200}, {2, 8, 15, 224}, {2, 16, INT_MAX, 0}},
              LandClassKey);
  const std::vector<Range> kLineFromOne = {
      {1, 1, 7, 6}, {1, 8, 10, 8}, {1, 11, 14, 10}, {1, 15, 20, 12}, {1, 21, 30, 14}, {1, 31, INT_MAX, 0},
      {2, 1, 3, 3}, {2, 4, 5, 4},  {2, 6, 7, 5},    {2, 8, 10, 6},   {2, 11, 15, 8},  {2, 16, INT_MAX, 0}};
  std::vector<Range> top = kLineFromOne, bottom = kLineFromOne;
  top.insert(top.end(), {{1, INT_MIN, 0, 6}, {2, INT_MIN, 0, 3}});
  bottom.insert(bottom.end(), {{1, INT_MIN, 0, 8}, {2, INT_MIN, 0, 4}});
  CheckRanges("top line", top, [](PitchMode pitch, std::int32_t w) { return LineClassKey(pitch, w, BoardSide::Second); });
  CheckRanges("bottom line", bottom,
              [](PitchMode pitch, std::int32_t w) { return LineClassKey(pitch, w, BoardSide::First); });
  CheckRanges("auxiliary land",
              {{1, INT_MIN, 0, 10}, {1, 1, 7, 8}, {1, 8, 10, 10}, {1, 11, 14, 12}, {1, 15, 20, 14}, {1, 21, 30, 16},
               {1, 31, INT_MAX, 0}, {2, INT_MIN, 0, 8}, {2, 1, 3, 6}, {2, 4, 5, 8}, {2, 6, 7, 10}, {2, 8, 10, 12},
               {2, 11, 15, 14}, {2, 16, INT_MAX, 0}},
              AuxLandClassKey);
}

TEST(ChangeDetector, ComparesRawCodesWithThePreviousOneStartingAtZero) {
  const std::pair<std::int32_t, bool> kSequence[] = {{0, false}, {0, false}, {4, true},  {4, false}, {5, true},
                                                     {20, true}, {20, false}, {-1, true}, {0, true}};
  ChangeDetector detector;
  for (const auto& [code, changed] : kSequence) EXPECT_EQ(detector.Changed(code), changed) << code;
}

}  // namespace
}  // namespace velmorta
