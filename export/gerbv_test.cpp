// The exported files read by an independent reader: gerbv loads every layer without a
// warning, and its rendering covers exactly the extents of the converter's geometry.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "driver/config_reader.hpp"
#include "export/code_table.hpp"
#include "export/export_run.hpp"
#include "export/layer_shapes.hpp"
#include "test_support/test_support.hpp"

namespace velmorta::fab {
namespace {

using testing::ReadFile;
using testing::TempDir;

constexpr int kDpi = 1000;

bool HaveGerbv() { return testing::ProgramOnPath("gerbv"); }

struct Rendering {
  int status = -1;
  std::string log;
  std::int64_t width = 0, height = 0;  // pixels
};

// gerbv's PNG export of `files`, without a border, so the image spans their extents.
Rendering Render(const TempDir& dir, const std::vector<std::string>& files, const std::string& name) {
  const std::string png = dir / (name + ".png"), log = dir / (name + ".log");
  using testing::ShellQuote;
  std::string command = "gerbv -x png -D " + std::to_string(kDpi);
  command.append(" -B 0 -o ").append(ShellQuote(png));
  for (const std::string& file : files) command.append(" ").append(ShellQuote(file));
  command.append(" >").append(ShellQuote(log)).append(" 2>&1");
  Rendering result;
  result.status = std::system(command.c_str());
  result.log = ReadFile(log);
  const std::string image = ReadFile(png);
  if (image.size() >= 24 && image.compare(1, 3, "PNG") == 0) {
    auto be32 = [&image](std::size_t at) {
      std::int64_t v = 0;
      for (std::size_t i = at; i < at + 4; ++i) v = v * 256 + static_cast<unsigned char>(image[i]);
      return v;
    };
    result.width = be32(16);
    result.height = be32(20);
  }
  return result;
}

std::int64_t Pixels(std::int64_t micrometres) {
  return std::llround(static_cast<double>(micrometres) * kDpi / 25400.0);
}

// The extents of a converter file, from its own text.
Extents SourceExtents(const Settings& settings, Output file, const std::string& path) {
  const std::string text = ReadFile(path);
  if (file == Output::Drill) {
    const DrillProgram program = ReadDrill(text, path);
    return ExtentsOf(DrillShapes(program, DrillCodes(program, settings, path)));
  }
  const GerberProgram program = ReadGerber(text, file, path);
  return ExtentsOf(GerberShapes(program, GerberCodes(program, settings, file, path)));
}

void ExpectSpans(const Rendering& rendering, std::int64_t widthUm, std::int64_t heightUm) {
  // A pixel of rounding at either edge.
  EXPECT_LE(std::abs(rendering.width - Pixels(widthUm)), 2) << rendering.width << " px for " << widthUm << " um";
  EXPECT_LE(std::abs(rendering.height - Pixels(heightUm)), 2) << rendering.height << " px for " << heightUm << " um";
}

TEST(Gerbv, LoadsEveryExportedLayerAtTheBoardsExtents) {
  if (!HaveGerbv()) {
    GTEST_SKIP() << "gerbv is not on the PATH (Debian package gerbv; gerbv.exe on Windows): the exported "
                    "files were NOT checked by an independent reader";
  }
  const char* const kSources[] = {"bottom.gbr", "top.gbr", "land1.gbr", "land2.gbr",
                                  "drill.drl",  "holes.gbr", "outline.gbr"};
  const char* const kExported[] = {"bottom_fab.gbr", "top_fab.gbr",   "land1_fab.gbr",  "land2_fab.gbr",
                                   "drill_fab.drl",  "holes_fab.gbr", "outline_fab.gbr"};
  // The outlines measured from the pad files, plus the 0.5 mm outline aperture:
  // 2.0 by 1.5 inches, and 1.0 by 0.8 inch.
  const struct {
    const char* pad;
    std::int64_t outlineWidth, outlineHeight;
    int emptyLayers;
  } kBoards[] = {{"board.pad", 50800 + 500, 38100 + 500, 0}, {"single.pad", 25400 + 500, 20320 + 500, 1}};
  for (const auto& board : kBoards) {
    SCOPED_TRACE(board.pad);
    TempDir dir;
    ASSERT_EQ(testing::ConvertExample(dir, board.pad), 0);
    const std::string base = dir / "board";
    const char* args[] = {"velmorta-export", base.c_str()};
    std::ostringstream out, err;
    ASSERT_EQ(RunExport(args, dir / "velmorta-export", out, err), 0) << err.str();
    const Settings settings = ParseConfiguration(ReadFile(dir / "velmorta.cfg"));

    Extents all;
    std::vector<std::string> everything;
    int empty = 0;
    for (int n = 0; n < 7; ++n) {
      SCOPED_TRACE(kExported[n]);
      const Extents expected = SourceExtents(settings, static_cast<Output>(n + 1), dir / kSources[n]);
      const Rendering rendering = Render(dir, {dir / kExported[n]}, kExported[n]);
      EXPECT_EQ(rendering.status, 0);
      EXPECT_EQ(rendering.log, "");
      all.Add(expected);
      everything.push_back(dir / kExported[n]);
      if (expected.empty) {
        ++empty;  // a layer of nothing: loaded, but there is no extent to compare
        continue;
      }
      ExpectSpans(rendering, expected.maxX - expected.minX, expected.maxY - expected.minY);
    }
    EXPECT_EQ(empty, board.emptyLayers);

    // All layers at once span the board, whose widest layer is its outline.
    const Rendering together = Render(dir, everything, "all");
    EXPECT_EQ(together.status, 0);
    EXPECT_EQ(together.log, "");
    EXPECT_EQ(all.maxX - all.minX, board.outlineWidth);
    EXPECT_EQ(all.maxY - all.minY, board.outlineHeight);
    ExpectSpans(together, board.outlineWidth, board.outlineHeight);
  }
}

}  // namespace
}  // namespace velmorta::fab
