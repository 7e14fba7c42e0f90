#include "check/report.hpp"

#include <gtest/gtest.h>

#include "check/run_check.hpp"

namespace velmorta::check {
namespace {

// A land at pad (130, 130) whose drill is larger than it, and a hole across the edge.
CheckBoard Faulty() {
  CheckBoard b;
  b.doubleSided = true;
  b.outline.push_back({{{0, 0}, {50000, 0}}, 500, {7, 1}});
  b[Side::Bottom] = {{{12620, 35480}, {12620, 35480}, 1640, false, Role::Land, {3, 1}}};
  b[Side::Top] = {{{12620, 35480}, {12620, 35480}, 1640, false, Role::Land, {4, 1}}};
  b.holes = {{{12620, 35480}, 1700, true, {5, 1}}, {{30000, 400}, 3000, false, {5, 2}}};
  b.frame = PadFrame{25400, 63500, 5000};
  return b;
}

FileNames Names() {
  FileNames names;
  names[3] = "land1.gbr";
  names[4] = "land,2.gbr";  // a name a CSV reader would split
  names[5] = "drill.drl";
  return names;
}

TEST(Report, TextCsvAndSummary) {
  const CheckBoard board = Faulty();
  const CheckResult result = RunCheck(board, Limits{});
  const std::string text = ReportText(result, Limits{}, Names());
  EXPECT_TRUE(text.starts_with("\xEF\xBB\xBF" "Board check: 3 errors, 0 warnings.\n\nLimits (mm):\n"
                               "  track         0.127    narrowest track (stroke aperture)\n"))
      << text;
  EXPECT_NE(text.find("\nerror   ring_broken    bottom at 12.620, 35.480  pad 130.00, 130.00  -0.030 < 0.130  "
                      "drill.drl:1, land1.gbr:1\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\nerror   hole_edge      drill  at 30.000, 0.000  pad 198.43, 269.69  -1.100 < 0.300  "
                      "drill.drl:2, file 7:1\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\n  hole_edge      error   a hole closer to the board edge"), std::string::npos) << text;

  EXPECT_EQ(ReportCsv(result, Names()),
            "\xEF\xBB\xBF" "severity,kind,layer,x_mm,y_mm,x_pad,y_pad,measured_mm,limit_mm,count,source,other\n"
            "error,ring_broken,bottom,12.620,35.480,130.00,130.00,-0.030,0.130,1,drill.drl:1,land1.gbr:1\n"
            "error,ring_broken,top,12.620,35.480,130.00,130.00,-0.030,0.130,1,drill.drl:1,\"land,2.gbr:1\"\n"
            "error,hole_edge,drill,30.000,0.000,198.43,269.69,-1.100,0.300,1,drill.drl:2,file 7:1\n");
  EXPECT_EQ(Summary(result), "board check: 3 errors, 0 warnings\n  error   ring_broken    2\n  error   hole_edge      1\n");

  // Without the pad frame the pad columns are empty; a clean board passes.
  CheckResult unframed = result;
  unframed.frame.reset();
  EXPECT_NE(ReportCsv(unframed).find("\nerror,hole_edge,drill,30.000,0.000,,,-1.100,"), std::string::npos);
  EXPECT_TRUE(ReportText(unframed, Limits{}, {}, "b.pad changed").starts_with(
      "\xEF\xBB\xBF" "Board check: 3 errors, 0 warnings.\nPositions in mm only, not in the pad file's units: b.pad changed.\n\n"));
  EXPECT_EQ(Summary(CheckResult{}), "board check: passed\n");
}

// In Japanese the words change and the columns stay in line; kinds keep their names.
TEST(Report, JapaneseTextAndSummary) {
  const CheckResult result = RunCheck(Faulty(), Limits{});
  const std::string text = ReportText(result, Limits{}, Names(), {}, Language::Japanese);
  EXPECT_TRUE(text.starts_with("\xEF\xBB\xBF" "基板チェック: エラー 3 件、警告 0 件。\n\n制限値 (mm):\n"
                               "  track         0.127    最も細い配線（ストロークのアパーチャ）\n"))
      << text;
  EXPECT_NE(text.find("\nエラー  hole_edge      ドリル   位置 30.000, 0.000  pad 198.43, 269.69  -1.100 < 0.300  "
                      "drill.drl:2, ファイル 7:1\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(Summary(result, Language::Japanese),
            "基板チェック: エラー 3 件、警告 0 件\n  エラー  ring_broken    2\n  エラー  hole_edge      1\n");
  EXPECT_EQ(Summary(CheckResult{}, Language::Japanese), "基板チェック: 合格\n");
}

}  // namespace
}  // namespace velmorta::check
