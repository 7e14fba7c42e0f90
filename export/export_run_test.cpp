#include "export/export_run.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <streambuf>
#include <regex>
#include <thread>

#include "base/files.hpp"
#include "base/text_encoding.hpp"
#include "export/export_test_support.hpp"
#include "export/fab_set.hpp"
#include "export/read/drill_program.hpp"
#include "export/read/gerber_program.hpp"

namespace velmorta::fab {
namespace {

using namespace testing;
namespace fs = std::filesystem;

const char* const kSources[] = {"bottom.gbr", "top.gbr", "land1.gbr", "land2.gbr",
                                "drill.drl",  "holes.gbr", "outline.gbr"};

std::vector<std::string> SetOf(bool doubleSided) {
  if (doubleSided) {
    return {"board.GTL", "board.GBL", "board.GTS", "board.GBS", "board.GKO", "board-PTH.drl", "board-NPTH.drl",
            "board-drl_map.gbr", "board.gbrjob", "board-apertures.csv", "board-check.txt", "board-check.csv",
            "board-preview.svg"};
  }
  return {"board.GBL", "board.GBS", "board.GTO", "board.GKO", "board-NPTH.drl", "board-drl_map.gbr",
          "board.gbrjob", "board-apertures.csv", "board-check.txt", "board-check.csv", "board-preview.svg"};
}

// A file of the output directory (the >g line: the test's directory), as the programs
// name it: joined with the system's separator.
std::string InOutput(const TempDir& dir, const std::string& name) {
  return dir.path().string() + kDirectorySeparator + name;
}

const char kCheckCsv[] = "\xEF\xBB\xBF" "severity,kind,layer,x_mm,y_mm,x_pad,y_pad,measured_mm,limit_mm,count,source,other\r\n";

std::string Listing(const TempDir& dir, const std::vector<std::string>& names) {
  const std::string folder = InOutput(dir, "board-fab");
  std::string listed;
  for (const std::string& name : names) listed += "wrote " + folder + kDirectorySeparator + name + "\n";
  return listed + "wrote " + folder + ".zip\n" + "wrote " + InOutput(dir, "board.kicad_pcb") + "\n";
}

// The set, and the board check's report and summary: the single-sided example's IC1 has
// lands that overlap and drills too close, between its pins at x 120 and 125; the
// double-sided one passes. Failing on errors still writes the whole set.
TEST(ExportRun, ExportsTheSetOfEachExampleBoard) {
  for (const bool doubleSided : {true, false}) {
    SCOPED_TRACE(doubleSided ? "board.pad" : "single.pad");
    TempDir dir;
    ASSERT_EQ(ConvertExampleBoard(dir, doubleSided ? "board.pad" : "single.pad"), 0);
    const auto converted = Snapshot(dir);
    const Result result = Export(dir, {"--fail-on", "errors", dir / "board"});
    const std::vector<std::string> names = SetOf(doubleSided);
    if (doubleSided) {
      EXPECT_EQ(result.status, 0);
      EXPECT_EQ(result.err, "");
      EXPECT_EQ(result.out, Listing(dir, names) + "board check: passed\n");
    } else {
      EXPECT_EQ(result.status, 2);  // written, and tripped
      EXPECT_EQ(result.err, "velmorta-export: the board check found errors (--fail-on errors); the set is written all the same\n");
      EXPECT_EQ(result.out, Listing(dir, names) +
                                "board check: 1 error, 1 warning\n  error   hole_spacing   1\n  warning lands_touch    1\n");
    }
    const std::string csv = ReadFile(dir / "board-fab/board-check.csv");
    const std::string text = ReadFile(dir / "board-fab/board-check.txt");
    EXPECT_EQ(csv, doubleSided ? kCheckCsv
                               : std::string(kCheckCsv) +
                                     "error,hole_spacing,drill,10.715,20.240,122.50,120.00,0.470,0.500,1,drill.drl:1,drill.drl:2\r\n"
                                     "warning,lands_touch,bottom,10.715,20.240,122.50,120.00,-0.370,0.000,1,land1.gbr:1,land1.gbr:2\r\n");
    EXPECT_TRUE(text.starts_with(doubleSided ? "\xEF\xBB\xBF" "Board check: passed.\r\n\r\nLimits (mm):\r\n"
                                             : "\xEF\xBB\xBF" "Board check: 1 error, 1 warning.\r\n\r\nLimits (mm):\r\n")) << text;
    if (!doubleSided) {
      EXPECT_NE(text.find("\nerror   hole_spacing   drill  at 10.715, 20.240  pad 122.50, 120.00  0.470 < 0.500  "
                          "drill.drl:1, drill.drl:2\r\n"), std::string::npos) << text;
    }
    // The converter's files stay as they were; the set has a folder of its own.
    auto after = Snapshot(dir);
    const std::string zip = after["board-fab.zip"];
    std::map<std::string, std::string> archived;
    for (const std::string& name : names) {
      const std::string bytes = after["board-fab/" + name];
      if (!name.ends_with(".csv") && !name.ends_with(".svg") && !name.ends_with(".txt")) archived[name] = bytes;
      EXPECT_EQ(after.erase("board-fab/" + name), 1u) << name;
    }
    EXPECT_EQ(after.erase("board-fab.zip"), 1u);
    EXPECT_EQ(after.erase("board.kicad_pcb"), 1u);
    EXPECT_EQ(after.erase("board-fab.lock"), 1u);  // empty; only the system's lock on it counts
    EXPECT_EQ(after, converted);
    // The archive holds what a board house takes, byte for byte.
    EXPECT_EQ(ReadArchive(zip), archived);

    const std::string job = archived["board.gbrjob"];
    for (const std::string& part :
         {std::string(doubleSided ? "\"X\": 50.800,\r\n      \"Y\": 38.100\r\n" : "\"X\": 25.400,\r\n      \"Y\": 20.320\r\n"),
          std::string("\"LayerNumber\": ") + (doubleSided ? "2" : "1"),
          std::string(doubleSided ? "\"Path\": \"board.GBL\",\r\n      \"FileFunction\": \"Copper,L2,Bot\""
                                  : "\"Path\": \"board.GBL\",\r\n      \"FileFunction\": \"Copper,L1,Bot\""),
          std::string("\"FileFunction\": \"Soldermask,Bot\",\r\n      \"FilePolarity\": \"Negative\"")}) {
      EXPECT_NE(job.find(part), std::string::npos) << part << job;
    }
    EXPECT_EQ(job.find("CreationDate"), std::string::npos);

    // Converter files kept without their pad file cannot be verified: they are exported
    // after a warning, with positions in mm only. Without the check, no report.
    fs::remove(dir / "board.pad");
    const Result unverified = Export(dir, {"--no-kicad", dir / "board"});
    ASSERT_EQ(unverified.status, 0);
    EXPECT_EQ(unverified.err, "velmorta-export: warning: there is no " + (dir / "board") +
                                  ".pad, so the converter's files could not be verified against it (only dated "
                                  "against the run log " + (dir / "board") + "_.vel); export them only if they are "
                                  "this board's\n");
    EXPECT_NE(ReadFile(dir / "board-fab/board-check.txt")
                  .find("\nPositions in mm only, not in the pad file's units: there is no board.pad.\r\n"),
              std::string::npos);
    EXPECT_EQ(ReadFile(dir / "board-fab/board-check.csv").find(".00,"), std::string::npos);
    const Result unchecked = Export(dir, {"--no-check", dir / "board"});
    EXPECT_EQ(unchecked.out.find("board check"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "board-fab/board-check.txt"));
  }
}

// Rows counted by hand from examples/board.pad: four outline segments, eight plated
// holes drilled with the default tool (six part lands, two through-holes, the
// through-hole lands being via pads), one plated and two mounting holes of the hole records.
TEST(ExportRun, TabulatesEveryApertureAndToolOfTheExampleBoard) {
  TempDir dir;
  ASSERT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
  ASSERT_EQ(Export(dir, {dir / "board"}).status, 0);
  const std::string report = ReadFile(dir / "board-fab/board-apertures.csv");
  EXPECT_TRUE(report.starts_with("file,exported_as,function,size_mm,source,list,code,key,uses\r\n")) << report;
  for (const char* row :
       {"board.GKO,D10,Profile,0.500,outline.gbr,line,12,5,4\r\n", "board.GBL,D14,Conductor,1.400,bottom.gbr,line,17,14,3\r\n",
        "board.GBL,D17,ViaPad,1.640,land1.gbr,land,20,164,2\r\n", "board.GBS,D12,ViaPad,1.740,land1.gbr,land,20,164,2\r\n",
        "board-PTH.drl,T3,,0.800,drill.drl,tool,3,80,8\r\n", "board-PTH.drl,T7,,1.200,drill.drl,tool,7,120,1\r\n",
        "board-NPTH.drl,T7,,1.200,drill.drl,tool,7,120,1\r\n", "board-NPTH.drl,T17,,3.000,drill.drl,tool,17,300,1\r\n"}) {
    EXPECT_NE(report.find(row), std::string::npos) << row << report;
  }
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 32) << report;
}

// The features of an exported Gerber file, read back: strokes and flashes with the
// diameters of their apertures.
LayerFeatures ReadBack(const std::string& text) {
  LayerFeatures read;
  std::map<std::string, std::int64_t> apertures;
  std::int64_t diameter = 0;
  geometry::Point at;
  const std::regex definition(R"(^%ADD(\d+)C,(\d+)\.(\d{3})\*%$)"), select(R"(^D(\d+)\*$)"),
      xy(R"(^X(-?\d+)Y(-?\d+)D0([123])\*$)");
  std::smatch m;
  for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = text.substr(start, end - start);
    if (std::regex_match(line, m, definition)) {
      apertures[m[1]] = std::stoll(m[2]) * 1000 + std::stoll(m[3]);
    } else if (std::regex_match(line, m, select)) {
      diameter = apertures.at(m[1]);
    } else if (line[0] == 'X') {
      // Every coordinate is a 0.001 mm value written with three more zeros.
      if (!std::regex_match(line, m, xy)) {
        ADD_FAILURE() << line;
        continue;
      }
      auto micrometres = [](const std::string& v) { return static_cast<std::int32_t>(std::stoll(v) / 1000); };
      EXPECT_TRUE(m[1] == "0" || m[1].str().ends_with("000")) << line;
      const geometry::Point to{micrometres(m[1]), micrometres(m[2])};
      if (m[3] == "1") read.strokes.push_back({at, to, diameter});
      if (m[3] == "3") read.discs.push_back({to, diameter});
      at = to;
    }
  }
  return read;
}

std::vector<geometry::Point> FlashesOf(const std::string& converterText, Output file) {
  std::vector<geometry::Point> flashes;
  for (const GerberOp& op : ReadGerber(converterText, file, "f").ops) {
    if (op.kind == GerberOpKind::Flash) flashes.push_back({op.x, op.y});
  }
  return flashes;
}

// Each exported file holds its layer's features exactly; copper is the lines and the
// lands of its side, a mask every land of its side grown by 0.05 mm all round, and the
// two drill files between them every hit, the plated ones on lands of both sides.
TEST(ExportRun, ComposesEachLayerFromItsSources) {
  struct Case {
    std::string name, pad;
  };
  std::vector<Case> cases = {{"board.pad", ReadFile(VELMORTA_SOURCE_DIR "/examples/board.pad")},
                             {"single.pad", ReadFile(VELMORTA_SOURCE_DIR "/examples/single.pad")}};
  for (unsigned seed = 1; seed <= 6; ++seed) {
    cases.push_back({"generated " + std::to_string(seed), GeneratedPad(seed, seed % 2 == 0, seed % 3 == 0 ? 2 : 1)});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ASSERT_EQ(ConvertPad(dir, "board", c.pad), 0);
    ASSERT_EQ(Export(dir, {dir / "board"}).status, 0);
    const ConvertedBoard board = ReadBoard(dir / "board", dir / "velmorta.cfg");
    DiskSources sources(board.paths);
    std::vector<geometry::Point> hits, plated;
    std::map<Output, int> padLayers;  // copper and mask layers taking each land file
    for (const FabLayer& layer : board.model.layers) {
      for (const Source& source : layer.sources) padLayers[source.file] += source.take == Take::Flashes ? 1 : 0;
    }
    EXPECT_EQ(padLayers[Output::Lands1], 2);
    EXPECT_EQ(padLayers[Output::Lands2], board.model.copperLayers == 2 ? 2 : 0);
    for (const FabLayer& layer : board.model.layers) {
      SCOPED_TRACE(layer.name);
      const std::string path = dir / ("board-fab/" + layer.name);
      const LayerFeatures features = CollectLayer(layer, board.settings, board.facts, sources);
      if (layer.IsDrill()) {
        for (const geometry::Disc& disc : features.discs) {
          hits.push_back(disc.centre);
          if (layer.function == FileFunction::Plated) plated.push_back(disc.centre);
        }
        EXPECT_EQ(fs::exists(path), !features.discs.empty());
        continue;
      }
      const LayerFeatures read = ReadBack(ReadFile(path));
      EXPECT_EQ(read.strokes, features.strokes);
      EXPECT_EQ(read.discs, features.discs);
      for (const Source& source : layer.sources) {
        if (source.take != Take::Flashes) continue;
        const std::vector<geometry::Point> lands = FlashesOf(ReadFile(dir / kSources[IndexOf(source.file)]), source.file);
        std::vector<geometry::Point> pads;
        for (const Feature& feature : features.all) {
          if (feature.file != source.file) continue;
          pads.push_back(feature.disc.centre);
          EXPECT_EQ(feature.disc.diameter, feature.size.micrometres + (layer.function == FileFunction::Soldermask ? 100 : 0));
        }
        EXPECT_EQ(pads, lands);
      }
    }
    std::vector<geometry::Point> drilled;
    for (const DrillOp& op : ReadDrill(ReadFile(dir / "drill.drl"), "d").ops) {
      if (op.kind == DrillOpKind::Hit) drilled.push_back({op.x, op.y});
    }
    std::sort(hits.begin(), hits.end());
    std::sort(drilled.begin(), drilled.end());
    EXPECT_EQ(hits, drilled);
    const geometry::PointSet lands = LandsOf(board.held);
    for (const geometry::Point hit : plated) {
      EXPECT_EQ(board.model.copperLayers, 2);
      EXPECT_TRUE(lands.Contains(hit));
    }
  }
}

TEST(ExportRun, GivesTheSameBytesAgainAndADateOnlyWhenAsked) {
  TempDir dir;
  ASSERT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
  ASSERT_EQ(Export(dir, {dir / "board"}).status, 0);
  const auto first = Snapshot(dir);
  ASSERT_EQ(Export(dir, {dir / "board"}).status, 0);
  EXPECT_EQ(Snapshot(dir), first);

  ASSERT_EQ(Export(dir, {"--timestamp", dir / "board"}).status, 0);
  EXPECT_TRUE(std::regex_search(ReadFile(dir / "board-fab/board.gbrjob"), std::regex(R"("CreationDate": ")")));
  EXPECT_TRUE(std::regex_search(ReadFile(dir / "board-fab/board.GTL"), std::regex(R"(\nG04 #@! TF.CreationDate,20\d\d-)")));
  EXPECT_TRUE(std::regex_search(ReadFile(dir / "board-fab/board-PTH.drl"), std::regex(R"(\n; #@! TF.CreationDate,20\d\d-)")));
  EXPECT_NE(ReadFile(dir / "board-fab.zip"), first.at("board-fab.zip"));  // dated entries
}

std::string Replace(std::string text, const std::string& from, const std::string& to);
void Edit(const TempDir& dir, const char* name, const std::string& from, const std::string& to);

// The seven converter files of `from` over those of `to`, a day older than its run log
// (as `cp -p` of files converted long ago, or an unpacked archive, leaves them).
void CopyOlder(const TempDir& from, const TempDir& to) {
  const auto old = fs::last_write_time(to / "board_.vel") - std::chrono::hours(24);
  for (const char* name : kSources) {
    WriteFile(to / name, ReadFile(from / name));  // mingw's copy_file will not overwrite
    fs::last_write_time(to / name, old);
  }
}

// A text as a regular expression that matches it alone: Windows paths hold "\".
std::string Literally(const std::string& text) {
  return std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

// Files whose bytes are not what velmorta makes of the board's pad file with this
// configuration are refused whatever their dates, and nothing is written.
TEST(ExportRun, ExportsOnlyWhatVelmortaMakesOfThePadFile) {
  const struct {
    const char* what;
    std::function<void(const TempDir& dir, const TempDir& other)> change;
    const char* differs;  // the file named
  } kCases[] = {
      {"another board converted since", [](const TempDir& d, const TempDir&) {
         WriteFile(d / "other.pad", ReadFile(VELMORTA_SOURCE_DIR "/examples/single.pad"));
         ASSERT_EQ(velmorta::testing::RunInDir(d, "other").status, 0);
       }, "bottom.gbr"},
      {"another board's files copied in with old times", [](auto& d, auto& o) { CopyOlder(o, d); }, "bottom.gbr"},
      {"run from another board's folder, whose configuration names its files", [](auto& d, auto& o) {
         WriteFile(d / "velmorta.cfg", ReadFile(o / "velmorta.cfg"));
         fs::last_write_time(d / "board_.vel", fs::file_time_type::clock::now() + std::chrono::hours(1));
       }, "@bottom.gbr"},  // "@": in the other folder
      // "!": the conversion stops, the board's lines having no aperture
      {"a >D size the board uses changed", [](auto& d, auto&) { Edit(d, "velmorta.cfg", "D1.4 17", "D1.5 17"); }, "!"},
      {"a >T size the board uses changed", [](auto& d, auto&) { Edit(d, "velmorta.cfg", "T12 7", "T12.5 7"); },
       "drill.drl"},
      {"the >F1 and >F2 lines swapped",
       [](auto& d, auto&) { Edit(d, "velmorta.cfg", "F1 bottom.gbr\n>F2 top", "F1 top.gbr\n>F2 bottom"); }, "top.gbr"},
      {"a file with more at its end",
       [](auto& d, auto&) { WriteFile(d / "outline.gbr", ReadFile(d / "outline.gbr") + "*"); }, "outline.gbr"},
      {"a file cut short", [](auto& d, auto&) { WriteFile(d / "top.gbr", Replace(ReadFile(d / "top.gbr"), "M00*", "")); },
       "top.gbr"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    TempDir dir, other;
    ASSERT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
    ASSERT_EQ(ConvertExampleBoard(other, "single.pad"), 0);
    c.change(dir, other);
    const auto before = Snapshot(dir);
    const Result result = Export(dir, {dir / "board"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    const std::string differs = c.differs[0] == '@' ? InOutput(other, c.differs + 1) : InOutput(dir, c.differs);
    const std::string board = Literally(dir / "board");
    const std::string why = c.differs[0] == '!' ? "velmorta stops on " + board + "\\.pad: .*; correct that and"
                                                : Literally(differs) + " is not what velmorta makes of " + board +
                                                      "\\.pad with " + Literally(dir / "velmorta.cfg") +
                                                      R"( \(byte \d+ differs\):)";
    EXPECT_TRUE(std::regex_match(result.err, std::regex("velmorta-export: " + why + " run velmorta " + board +
                                                        " again\n")))
        << result.err;
    EXPECT_EQ(Snapshot(dir), before);
  }
  // Without the pad file only the run log's dates can tell, and do.
  TempDir dir;
  ASSERT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));  // past the file system's clock tick
  WriteFile(dir / "other.pad", ReadFile(VELMORTA_SOURCE_DIR "/examples/single.pad"));
  ASSERT_EQ(velmorta::testing::RunInDir(dir, "other").status, 0);
  fs::remove(dir / "board.pad");
  const Result stale = Export(dir, {dir / "board"});
  EXPECT_EQ(stale.status, 1);
  EXPECT_NE(stale.err.find("velmorta-export: " + InOutput(dir, "bottom.gbr") + " changed after the run log " +
                           (dir / "board_.vel") + ": it is not from the last conversion of " + (dir / "board")),
            std::string::npos)
      << stale.err;
  EXPECT_FALSE(fs::exists(dir / "board-fab"));
  const Result missing = Export(dir, {dir / "none"});
  EXPECT_NE(missing.err.find("velmorta-export: cannot read the run log " + (dir / "none_.vel")), std::string::npos)
      << missing.err;
}

// The pad file's Type decides the board's sides, not whether the second side has lands.
TEST(ExportRun, TakesTheBoardsTypeFromThePadFile) {
  TempDir dir;
  ASSERT_EQ(ConvertPad(dir, "board", "*** Pitch\n1\n*** Type\n1\n*** Area\n100,100,200,100\n200,100,200,200\n"
                                     "*** TopLine\n120,120,180,120,8\n*** BottomLine\n120,150,180,150,8\n"),
            0);
  EXPECT_EQ(ReadFile(dir / "land2.gbr").find("D03"), std::string::npos);
  const Result result = Export(dir, {"--no-check", dir / "board"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(fs::exists(dir / "board-fab/board.GTL"));
  EXPECT_FALSE(fs::exists(dir / "board-fab/board.GTO"));
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos) throw std::runtime_error("no " + from);
  return text.replace(at, from.size(), to);
}

// An edited converter file, with the run log dated after it as a conversion would.
void Edit(const TempDir& dir, const char* name, const std::string& from, const std::string& to) {
  WriteFile(dir / name, Replace(ReadFile(dir / name), from, to));
  fs::last_write_time(dir / "board_.vel", fs::file_time_type::clock::now() + std::chrono::seconds(1));
}

// Converter files kept without the pad file, after a change to the configuration or to
// one of them.
void Unverified(const TempDir& dir, const std::string& from, const std::string& to, const char* file = nullptr,
                const std::string& fileFrom = "", const std::string& fileTo = "") {
  if (!from.empty()) Edit(dir, "velmorta.cfg", from, to);
  if (file != nullptr) Edit(dir, file, fileFrom, fileTo);
  fs::remove(dir / "board.pad");
}

// Every failure names its file, ends with status 1 and leaves the previous set as it
// was, with nothing staged beside it.
TEST(ExportRun, FailuresNameTheFileAndChangeNothing) {
  const struct {
    const char* what;
    std::function<void(const TempDir&)> spoil;
    std::vector<std::string> args;  // before the board; "@" stands for the directory
    std::string message;            // "@" too; "{g}" for it as the output directory, separator included
  } kCases[] = {
      {"a missing file", [](const TempDir& d) { fs::remove(d / "land2.gbr"); }, {},
       "velmorta-export: cannot read output file 4 {g}land2.gbr: No such file or directory; run velmorta @/board again\n"},
      {"a conversion ended by a fatal stop",
       [](const TempDir& d) {
         Edit(d, "velmorta.cfg", ">L2 aperture mode", ">L1 aperture mode");
         Edit(d, "velmorta.cfg", ">l1 0.8", ">l1 0.7");
       },
       {}, "velmorta-export: velmorta stops on @/board.pad: @/velmorta.cfg: the line width default (>l) of the board's "
           "pitch has no >D line with a code; correct that and run velmorta @/board again\n"},
      {"the run log of a conversion ended by a fatal stop",
       [](const TempDir& d) {
         Edit(d, "velmorta.cfg", ">L2 aperture mode", ">L1 aperture mode");
         Edit(d, "velmorta.cfg", ">l1 0.8", ">l1 0.7");
         ASSERT_EQ(velmorta::testing::RunInDir(d, "board").status, 1);
         fs::remove(d / "board.pad");
       },
       {}, "velmorta-export: @/board_.vel: the last conversion of @/board did not complete"},
      {"a code without a list entry", [](const TempDir& d) { Unverified(d, ">D1.4 17\n", ""); }, {},
       "velmorta-export: @/velmorta.cfg: >D code 17 ({g}bottom.gbr draws with it): no >D line carries this code, so "
       "its size is unknown; add one, or convert the board again\n"},
      {"a code of two sizes", [](const TempDir& d) { Edit(d, "velmorta.cfg", ">D1.6 18\n", ">D1.6 17\n"); }, {},
       "velmorta-export: @/velmorta.cfg: >D code 17 ({g}bottom.gbr draws with it): lines of different sizes (line 40 "
       "1.400 mm, line 41 1.600 mm) carry this code, so its size is ambiguous; give it one size\n"},
      {"no >F7 line", [](const TempDir& d) { Edit(d, "velmorta.cfg", ">F7 outline.gbr\n", ""); }, {},
       "velmorta-export: @/velmorta.cfg names no output file 7: add a \">F7\" line (the \">F\" lines name the seven "
       "files in order)\n"},
      {"foreign text", [](const TempDir& d) { Unverified(d, "", "", "holes.gbr", "G71*", "%MOIN*%G71*"); }, {},
       "velmorta-export: {g}holes.gbr: offset 0: not a command the converter writes: \"%MOIN*%G71*G90*D02*D9*D0...\"; "
       "the file changed after velmorta wrote it: convert the board again\n"},
      {"a drill line without CR LF", [](const TempDir& d) { Unverified(d, "", "", "drill.drl", "G90\r\n", "G90\n"); },
       {}, "velmorta-export: {g}drill.drl: offset 3: text after the command, where CR LF should end the line"},
      {"a missing configuration", [](const TempDir&) {}, {"--config", "@/none.cfg"},
       "velmorta-export: cannot read the configuration file @/none.cfg: No such file or directory\n"},
      {"an unknown export setting", [](const TempDir& d) { Edit(d, "velmorta.cfg", ">p2\n", ">p2\n>E mask 1\n"); }, {},
       "velmorta-export: @/velmorta.cfg: line 19: unknown export setting \">E mask\""},
      {"a bad export setting", [](const TempDir& d) { Edit(d, "velmorta.cfg", ">p2\n", ">E mask-expansion -1\n>p2\n"); },
       {}, "velmorta-export: @/velmorta.cfg: line 18: \">E mask-expansion\" takes millimetres from 0 to 10"},
      {"a bad limit", [](const TempDir&) {}, {"--limit", "track=0.1", "--limit=spacing=0.1x"},
       "velmorta-export: --limit spacing=0.1x: not a size in millimetres: \"0.1x\"\n"},
      {"a bad limits file", [](const TempDir& d) { WriteFile(d / "house.lim", "track 0.1\nspace 0.1\n"); },
       {"--limits", "@/house.lim", "--fail-on", "warnings"}, "velmorta-export: @/house.lim:2: unknown limit \"space\"\n"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    ASSERT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
    ASSERT_EQ(Export(dir, {dir / "board"}).status, 0);
    c.spoil(dir);
    const auto before = Snapshot(dir);
    std::vector<std::string> args;
    for (std::string arg : c.args) args.push_back(arg[0] == '@' ? dir.path().string() + arg.substr(1) : arg);
    args.push_back(dir / "board");
    const Result result = Export(dir, args);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    std::string message = c.message;
    for (std::size_t at; (at = message.find('@')) != std::string::npos;) message.replace(at, 1, dir.path().string());
    for (std::size_t at; (at = message.find("{g}")) != std::string::npos;) message.replace(at, 3, InOutput(dir, ""));
    // After the warning that files without their pad file could not be verified.
    EXPECT_NE(result.err.find("velmorta-export: " + message.substr(17)), std::string::npos) << result.err;
    EXPECT_EQ(result.err.rfind("velmorta-export: ", 0), 0u) << result.err;
    EXPECT_EQ(Snapshot(dir), before);
  }
}

// Names in the configuration's encoding: the preview and the job file hold them as
// UTF-8, the Gerber comments too, with the characters that would end a block escaped.
TEST(ExportRun, KeepsEveryCharacterOfTheNames) {
#ifndef _WIN32
  const std::string name = velmorta::testing::ToShiftJis("基板") + "*%";
  TempDir dir;
  ASSERT_EQ(ConvertPad(dir, name, ReadFile(VELMORTA_SOURCE_DIR "/examples/board.pad")), 0);
  ASSERT_EQ(Export(dir, {dir / name}).status, 0) << Export(dir, {dir / name}).err;
  const std::string folder = dir / (name + "-fab/");
  const std::string svg = ReadFile(folder + name + "-preview.svg");
  EXPECT_TRUE(IsValidUtf8(svg));
  EXPECT_NE(svg.find("<title>基板*%</title>"), std::string::npos);
  EXPECT_NE(svg.find("\">基板*%</text>"), std::string::npos);
  EXPECT_NE(svg.find(">50.800 × 38.100 mm</text>"), std::string::npos);
  EXPECT_NE(ReadFile(folder + name + ".gbrjob").find("\"Path\": \"基板*%.GTL\""), std::string::npos);
  EXPECT_TRUE(ReadFile(folder + name + ".GTL").starts_with("G04 top copper of 基板\\u002A\\u0025, from top.gbr and land2.gbr"));
  EXPECT_NE(ReadFile(folder + name + "-apertures.csv").find("\n基板*%.GTL,D10,"), std::string::npos);
  EXPECT_EQ(ReadArchive(ReadFile(dir / (name + "-fab.zip"))).count("基板*%.GKO"), 1u);
#endif
}

TEST(ExportRun, TakesTheConvertersConfigurationOrTheOneNamed) {
  EXPECT_EQ(DefaultConfigurationPath("/opt/v/velmorta-export"), "/opt/v/velmorta.cfg");
#ifdef _WIN32
  EXPECT_EQ(DefaultConfigurationPath("C:\\v\\velmorta-export.exe"), "C:\\v\\velmorta.cfg");
#endif
  EXPECT_EQ(DefaultConfigurationPath("velmorta-export"), "velmorta.cfg");

  TempDir dir;
  ASSERT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
  fs::copy_file(dir / "velmorta.cfg", dir / "other.cfg");
  fs::remove(dir / "velmorta.cfg");
  EXPECT_TRUE(Export(dir, {dir / "board"}).err.starts_with("velmorta-export: cannot read the configuration file " +
                                                        (dir / "velmorta.cfg")));
  EXPECT_EQ(Export(dir, {"--config", dir / "other.cfg", dir / "board"}).status, 0);
  EXPECT_EQ(Export(dir, {"--config=" + (dir / "other.cfg"), dir / "board"}).status, 0);

  const struct {
    std::vector<std::string> args;
    int status;
    const char* message;
  } kCommandLines[] = {
      {{}, 1, "velmorta-export: no board given\nusage: velmorta-export [--config PATH] [--timestamp] [--limits PATH]"},
      {{"--fail-on", "all", "b"}, 1, "velmorta-export: --fail-on takes errors or warnings, not all\nusage:"},
      {{"--no-check", "--fail-on=errors", "b"}, 1, "velmorta-export: --fail-on needs the board check"},
      {{"--limit", "track", "b"}, 1, "velmorta-export: --limit takes NAME=MM, not track\nusage:"},
      {{"--bogus", "b"}, 1, "velmorta-export: unknown option --bogus\nusage:"},
      {{"a", "b"}, 1, "velmorta-export: one board at a time: a and b\nusage:"},
      {{"b", "--config"}, 1, "velmorta-export: --config needs a path\nusage:"},
      {{"--limits", "b"}, 1, "velmorta-export: --limits needs a path before the board (b is the board)\nusage:"},
      {{"b/"}, 1, "velmorta-export: the board name b/ ends in a directory separator"},
  };
  for (const auto& c : kCommandLines) {
    const Result result = Export(dir, c.args);
    EXPECT_EQ(result.status, c.status);
    EXPECT_TRUE(result.err.starts_with(c.message)) << result.err;
  }
  // A limits file saved with a byte order mark.
  WriteFile(dir / "house.lim", "\xEF\xBB\xBFtrack 0.1\n");
  const Result marked = Export(dir, {"--config", dir / "other.cfg", "--limits", dir / "house.lim", dir / "board"});
  EXPECT_EQ(marked.status, 0) << marked.err;
  EXPECT_NE(ReadFile(dir / "board-fab/board-check.txt").find("track"), std::string::npos);

  const Result help = Export(dir, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("usage: velmorta-export [--config PATH] [--timestamp] [--limits PATH] [--limit NAME=MM]...\n"))
      << help.out;
}

// A listing and summary that never reach standard output end the run with status 1,
// said on standard error; the set is written all the same.
TEST(ExportRun, TellsWhenStandardOutputCannotBeWritten) {
  struct Full : std::streambuf {};  // takes no byte
  TempDir dir;
  ASSERT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
  const std::string board = dir / "board";
  const std::vector<const char*> args = {"velmorta-export", board.c_str()};
  Full full;
  std::ostream out(&full);
  std::ostringstream err;
  EXPECT_EQ(RunExport(args, dir / "velmorta-export", out, err), 1);
  EXPECT_TRUE(err.str().starts_with("velmorta-export: cannot write to standard output")) << err.str();
  EXPECT_NE(err.str().find("; the set is written, but the list of its files and the board check's summary are lost"),
            std::string::npos);
  EXPECT_TRUE(fs::exists(dir / "board-fab.zip"));
}

}  // namespace
}  // namespace velmorta::fab
