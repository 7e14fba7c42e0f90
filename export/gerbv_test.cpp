// The exported sets read by independent readers: gerbv loads every Gerber and drill
// file without a warning, empty layers included, and its rendering of each covers
// exactly the extents of the layer model's features; rsvg renders the preview. Where a
// reader is missing the test is skipped with the reason, or fails when
// VELMORTA_REQUIRE_READERS is set (as CI sets it for the Linux run).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <sstream>

#include "export/export_test_support.hpp"
#include "export/fab_set.hpp"

namespace velmorta::fab {
namespace {

using namespace testing;
using velmorta::testing::ProgramOnPath;
using velmorta::testing::ShellQuote;

constexpr int kDpi = 1000;

// Why `program` cannot check the files, when it is missing: the test is then skipped,
// or fails where the environment requires every reader.
std::optional<std::string> Missing(const char* program, const char* package) {
  if (ProgramOnPath(program)) return std::nullopt;
  const std::string message = std::string(program) + " is not installed (Debian package " + package +
                              "): the exported files were NOT checked by it";
  if (std::getenv("VELMORTA_REQUIRE_READERS") != nullptr) ADD_FAILURE() << message;
  return message;
}

struct Rendering {
  int status = -1;
  std::string log;
  std::int64_t width = 0, height = 0;  // pixels
};

std::int64_t Be32(const std::string& image, std::size_t at) {
  std::int64_t v = 0;
  for (std::size_t i = at; i < at + 4; ++i) v = v * 256 + static_cast<unsigned char>(image[i]);
  return v;
}

// A PNG export of `files` without a border, so the image spans their extents.
Rendering Render(const std::string& command, const std::string& png) {
  Rendering result;
  const std::string log = png + ".log";
  result.status = std::system((command + " >" + ShellQuote(log) + " 2>&1").c_str());
  result.log = ReadFile(log);
  const std::string image = ReadFile(png);
  if (image.size() >= 24 && image.compare(1, 3, "PNG") == 0) {
    result.width = Be32(image, 16);
    result.height = Be32(image, 20);
  }
  return result;
}

std::int64_t Pixels(std::int64_t micrometres) {
  return std::llround(static_cast<double>(micrometres) * kDpi / 25400.0);
}

struct Case {
  std::string name, pad;
};

std::vector<Case> Boards() {
  const std::string board = ReadFile(VELMORTA_SOURCE_DIR "/examples/board.pad");
  std::string outlineless = board;
  outlineless.erase(outlineless.find("*** Area"), outlineless.find("*** Parts") - outlineless.find("*** Area"));
  std::vector<Case> cases = {{"board.pad", board},
                             {"single.pad", ReadFile(VELMORTA_SOURCE_DIR "/examples/single.pad")},
                             {"board.pad without Area", outlineless},
                             {"no records", "*** Pitch\n1\n*** Type\n1\n"}};
  for (unsigned seed = 11; seed <= 14; ++seed) {
    cases.push_back({"generated " + std::to_string(seed), GeneratedPad(seed, seed % 2 == 1, seed % 3 == 0 ? 2 : 1)});
  }
  return cases;
}

TEST(IndependentReaders, GerbvLoadsEveryFileOfTheSetAtItsExtents) {
  if (const auto missing = Missing("gerbv", "gerbv")) GTEST_SKIP() << *missing;
  int empty = 0;
  for (const Case& c : Boards()) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ASSERT_EQ(ConvertPad(dir, "board", c.pad), 0);
    const Result exported = Export(dir, {dir / "board"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const ConvertedBoard board = ReadBoard(dir / "board", dir / "velmorta.cfg");
    DiskSources sources(board.paths);
    for (const FabLayer& layer : board.model.layers) {
      SCOPED_TRACE(layer.name);
      const std::string path = dir / ("board-fab/" + layer.name);
      const LayerFeatures features =
          CollectLayer(layer, board.settings, board.facts, sources);
      if (layer.IsDrill() && features.discs.empty()) continue;  // not written
      const std::string png = path + ".png";
      const Rendering rendering =
          Render("gerbv -x png -D " + std::to_string(kDpi) + " -B 0 -o " + ShellQuote(png) + " " + ShellQuote(path), png);
      EXPECT_EQ(rendering.status, 0);
      EXPECT_EQ(rendering.log, "");
      geometry::Extents ink;
      for (const geometry::Capsule& stroke : features.strokes) ink.Add(stroke);
      for (const geometry::Disc& disc : features.discs) ink.Add(disc);
      if (ink.empty) {
        ++empty;
        continue;
      }
      // A pixel of rounding at either edge.
      EXPECT_LE(std::abs(rendering.width - Pixels(ink.Width())), 2) << rendering.width << " px";
      EXPECT_LE(std::abs(rendering.height - Pixels(ink.Height())), 2) << rendering.height << " px";
    }
  }
  EXPECT_GE(empty, 3);  // the missing outline, and a board of nothing
}

// The diameters of the round apertures gerbv reads in `path`, in 0.001 mm, as it writes
// them back in RS-274X (to 0.0001 inch).
std::vector<double> GerbvApertures(const std::string& path) {
  const std::string out = path + ".gerbv.gbr";
  const Rendering exported = Render("gerbv -x rs274x -o " + ShellQuote(out) + " " + ShellQuote(path), out);
  EXPECT_EQ(exported.status, 0) << exported.log;
  const std::string text = ReadFile(out);
  const double unit = text.find("%MOMM*%") != std::string::npos ? 1000.0 : 25400.0;
  std::vector<double> sizes;
  for (std::size_t at = 0; (at = text.find("%ADD", at)) != std::string::npos; ++at) {
    const std::size_t comma = text.find("C,", at);
    if (comma != std::string::npos && comma < text.find('*', at)) sizes.push_back(std::stod(text.substr(comma + 2)) * unit);
  }
  return sizes;
}

// Apertures and drills measure what the configuration's lines write, not their keys:
// sizes changed within their keys leave the converter's files as they are, and gerbv
// reads the new sizes from the exported files.
TEST(IndependentReaders, GerbvReadsTheSizesTheConfigurationWrites) {
  if (const auto missing = Missing("gerbv", "gerbv")) GTEST_SKIP() << *missing;
  TempDir dir;
  ASSERT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
  std::string configuration = ReadFile(dir / "velmorta.cfg");
  for (const auto& [from, to] : {std::pair<std::string, std::string>{">D1.4 17\n", ">D1.45 17\n"},
                                 {">T8 3\n", ">T8.04 3\n"}, {">R1.64 20\n", ">R1.6449 20\n"}}) {
    configuration.replace(configuration.find(from), from.size(), to);
  }
  WriteFile(dir / "velmorta.cfg", configuration);
  const Result exported = Export(dir, {dir / "board"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  const struct {
    const char* file;
    double written, key;  // 0.001 mm
  } kCases[] = {{"board.GBL", 1450, 1400}, {"board-PTH.drl", 804, 800}, {"board.GBL", 1645, 1640}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.file);
    const std::vector<double> sizes = GerbvApertures(dir / ("board-fab/" + std::string(c.file)));
    const auto near = [&sizes](double size) {
      return std::any_of(sizes.begin(), sizes.end(), [size](double s) { return std::abs(s - size) < 1.3; });
    };
    EXPECT_TRUE(near(c.written)) << c.written;
    EXPECT_FALSE(near(c.key)) << c.key;
  }
}

TEST(IndependentReaders, RsvgRendersThePreview) {
  if (const auto missing = Missing("rsvg-convert", "librsvg2-bin")) GTEST_SKIP() << *missing;
  for (const Case& c : Boards()) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ASSERT_EQ(ConvertPad(dir, "board", c.pad), 0);
    ASSERT_EQ(Export(dir, {dir / "board"}).status, 0);
    const std::string png = dir / "preview.png";
    const Rendering rendering =
        Render("rsvg-convert -w 400 -o " + ShellQuote(png) + " " + ShellQuote(dir / "board-fab/board-preview.svg"), png);
    EXPECT_EQ(rendering.status, 0);
    EXPECT_EQ(rendering.log, "");
    EXPECT_EQ(rendering.width, 400);
  }
}

// The time as a ZIP entry keeps it, local to the even second below: "2026-05-01 12:34:56".
std::string ZipClock() {
  std::time_t now = std::time(nullptr);
  now -= now % 2;
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
  return text;
}

// Python's zipfile takes every entry whole, named in UTF-8 as the set names it, dated
// the format's first moment, or with --timestamp the time of the export.
TEST(IndependentReaders, PythonReadsTheArchivesNamesAndDates) {
  if (const auto missing = Missing("python3", "python3")) GTEST_SKIP() << *missing;
  const std::string board = velmorta::testing::ToShiftJis("基板");
  TempDir dir;
  ASSERT_EQ(ConvertPad(dir, board, ReadFile(VELMORTA_SOURCE_DIR "/examples/board.pad")), 0);
  const std::string listing = dir / "listing.txt";
  const std::string script =
      "import sys, zipfile\n"
      "z = zipfile.ZipFile(sys.argv[1])\n"
      "lines = ['damaged: %s' % z.testzip()]\n"
      "lines += ['%s %04d-%02d-%02d %02d:%02d:%02d' % ((i.filename,) + i.date_time) for i in z.infolist()]\n"
      "open(sys.argv[2], 'wb').write('\\n'.join(lines).encode('utf-8'))\n";
  for (const bool timestamp : {false, true}) {
    SCOPED_TRACE(timestamp ? "--timestamp" : "reproducible");
    const std::string from = ZipClock();
    ASSERT_EQ(Export(dir, timestamp ? std::vector<std::string>{"--timestamp", dir / board}
                                    : std::vector<std::string>{dir / board}).status, 0);
    const std::string to = ZipClock();
    ASSERT_EQ(std::system(("python3 -c " + ShellQuote(script) + " " + ShellQuote(dir / (board + "-fab.zip")) + " " +
                           ShellQuote(listing)).c_str()), 0);
    std::istringstream lines(ReadFile(listing));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "damaged: None");
    std::string names;
    while (std::getline(lines, line)) {
      const std::size_t date = line.size() - 19;
      names += line.substr(0, date);
      const std::string when = line.substr(date);
      if (timestamp) {
        EXPECT_TRUE(from <= when && when <= to) << line << " not within " << from << " to " << to;
      } else {
        EXPECT_EQ(when, "1980-01-01 00:00:00") << line;
      }
    }
    EXPECT_EQ(names, "基板.GTL 基板.GBL 基板.GTS 基板.GBS 基板.GKO 基板-PTH.drl 基板-NPTH.drl 基板-drl_map.gbr 基板.gbrjob ");
  }
}

}  // namespace
}  // namespace velmorta::fab
