#include "export/write/svg_preview.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <set>

#include "export/export_test_support.hpp"
#include "export/fab_set.hpp"

namespace velmorta::fab {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// A layer's group read back: every subpath as the stroke or disc it draws.
LayerFeatures Group(const std::string& svg, const std::string& id) {
  LayerFeatures read;
  const std::string open = "<g id=\"" + id + "\" fill=\"none\" stroke-linecap=\"round\">\r\n";
  const std::size_t start = svg.find(open);
  if (start == std::string::npos) return read;
  const std::string group = svg.substr(start + open.size(), svg.find("</g>", start) - start - open.size());
  const std::regex path(R"re(<path stroke-width="(\d+)" d="([^"]*)"/>)re");
  const std::regex piece(R"(M(-?\d+) (-?\d+)(?:L(-?\d+) (-?\d+)|(l0 0)))");
  for (std::sregex_iterator p(group.begin(), group.end(), path), end; p != end; ++p) {
    const std::int64_t width = std::stoll((*p)[1]);
    const std::string d = (*p)[2];
    std::size_t covered = 0;
    for (std::sregex_iterator m(d.begin(), d.end(), piece); m != end; ++m) {
      covered += m->length();
      const auto at = [&m](int x, int y) {
        return geometry::Point{std::stoi((*m)[x]), -std::stoi((*m)[y])};  // y was negated
      };
      if ((*m)[5].matched) {
        read.discs.push_back({at(1, 2), width});
      } else {
        read.strokes.push_back({at(1, 2), at(3, 4), width});
      }
    }
    EXPECT_EQ(covered, d.size()) << d;  // nothing else in the path
  }
  return read;
}

// The preview draws the layer model exactly: each shown layer's group holds its strokes
// and discs with their ends, centres and widths; each view uses the layers of its side,
// the bottom one mirrored; each layer has a key.
TEST(SvgPreview, DrawsEveryLayerOfTheModelWhereItIs) {
  std::vector<std::string> pads = {ReadFile(VELMORTA_SOURCE_DIR "/examples/board.pad"),
                                   ReadFile(VELMORTA_SOURCE_DIR "/examples/single.pad")};
  for (unsigned seed = 21; seed <= 24; ++seed) pads.push_back(GeneratedPad(seed, seed % 2 == 0, 1));
  for (const std::string& pad : pads) {
    TempDir dir;
    ASSERT_EQ(ConvertPad(dir, "board", pad), 0);
    ASSERT_EQ(Export(dir, {dir / "board"}).status, 0);
    const std::string svg = ReadFile(dir / "board-fab/board-preview.svg");
    const ConvertedBoard board = ReadBoard(dir / "board", dir / "velmorta.cfg");
    DiskSources sources(board.paths);
    int shown = 0;
    for (const FabLayer& layer : board.model.layers) {
      SCOPED_TRACE(layer.id);
      const bool written = fs::exists(dir / ("board-fab/" + layer.name));
      if (!InPreview(layer) || !written) {
        EXPECT_EQ(svg.find("<g id=\"" + layer.id + "\""), std::string::npos);
        EXPECT_EQ(svg.find("toggle('" + layer.id + "'"), std::string::npos);
        continue;
      }
      ++shown;
      const LayerFeatures features = CollectLayer(layer, board.settings, board.facts, sources);
      const LayerFeatures drawn = Group(svg, layer.id);
      EXPECT_EQ(drawn.strokes, features.strokes);
      EXPECT_EQ(drawn.discs, features.discs);
      EXPECT_NE(svg.find("onclick=\"toggle('" + layer.id + "', this)\""), std::string::npos);
      const std::string view = layer.side == Side::Bottom ? "bottom-view" : "top-view";
      const std::string views = svg.substr(svg.find("<g id=\"top-view\""));
      const std::size_t bottom = views.find("<g id=\"bottom-view\"");
      const std::size_t use = views.find("<use xlink:href=\"#" + layer.id + "\"");
      const std::size_t again = views.find("<use xlink:href=\"#" + layer.id + "\"", bottom);
      if (!layer.side) {  // holes and the profile in both views
        EXPECT_LT(use, bottom);
        EXPECT_NE(again, std::string::npos);
      } else {
        EXPECT_EQ(use < bottom, *layer.side == Side::Top) << view;
      }
    }
    EXPECT_GE(shown, 5);
    // Mirrored about the middle between the views: the board's left edge seen from
    // below is right of its right edge seen from above.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(svg, m, std::regex(R"re(<g id="bottom-view" transform="translate\((-?\d+) 0\) scale\(-1 1\)">)re")));
    const LayerFeatures outline = Group(svg, "profile");
    ASSERT_FALSE(outline.strokes.empty());
    std::int64_t minX = INT64_MAX, maxX = INT64_MIN;
    for (const geometry::Capsule& s : outline.strokes) {
      minX = std::min<std::int64_t>({minX, s.from.x, s.to.x});
      maxX = std::max<std::int64_t>({maxX, s.from.x, s.to.x});
    }
    EXPECT_GT(std::stoll(m[1]) - maxX, maxX);  // the mirrored left edge

    // Each finding of the check's report is marked where it is, in the view of its side
    // (the drill's in both), and the marks have a key.
    std::multiset<std::string> reported, marked;
    const std::string csv = ReadFile(dir / "board-fab/board-check.csv");
    for (std::size_t start = csv.find('\n') + 1, end; (end = csv.find('\n', start)) != std::string::npos; start = end + 1) {
      std::vector<std::string> fields;
      for (std::size_t at = start, comma; at < end; at = comma + 1) {
        comma = std::min(csv.find(',', at), end);
        fields.push_back(csv.substr(at, comma - at));
      }
      const auto um = [](const std::string& mm) { return std::to_string(std::llround(std::stod(mm) * 1000)); };
      for (const std::string view : {"top", "bottom"}) {
        if (fields[2] == "drill" || fields[2] == view) reported.insert(view + " " + um(fields[3]) + " -" + um(fields[4]));
      }
    }
    const std::size_t bottomView = svg.find("<g id=\"bottom-view\"");
    const std::regex circle(R"re(<circle cx="(-?\d+)" cy="(-?\d+)" r="\d+"><title>)re");
    for (std::sregex_iterator c(svg.begin(), svg.end(), circle), end; c != end; ++c) {
      const std::string view = static_cast<std::size_t>(c->position()) < bottomView ? "top" : "bottom";
      marked.insert(view + " " + (*c)[1].str() + " " + (*c)[2].str());
    }
    EXPECT_EQ(marked, reported);
    EXPECT_NE(svg.find("<g class=\"key\" onclick=\"toggle('check', this)\">"), std::string::npos);
    if (pad == pads[1]) {
      EXPECT_EQ(reported.size(), 3u);
      EXPECT_NE(svg.find("<title>hole_spacing (error): 0.470 &lt; 0.500 mm at pad 122.50, 120.00</title>"),
                std::string::npos);
    }
  }
}

// Beyond its budget a layer is drawn on a grid: features that share cells merge into one
// run per row of cells, no wider than the widest feature, and the legend says so.
TEST(SvgPreview, MergesALargeBoardOnAGrid) {
  OutFile out = OutFile::InMemory();
  PreviewBody body(out, {1000, 100});
  FabLayer layer;
  layer.id = "top-copper";
  body.Begin(layer);
  Feature disc;
  disc.kind = FeatureKind::Flash;
  for (const std::int32_t x : {200, 800, 1500}) {  // two in the first cell, one in the next
    disc.disc = {{x, 200}, 300};
    body.Add(disc);
  }
  Feature stroke;
  stroke.kind = FeatureKind::Stroke;
  stroke.stroke = {{-500, -3000}, {-500, -1200}, 200};  // down the column left of 0
  body.Add(stroke);
  body.End();
  EXPECT_EQ(out.Text(),
            "<g id=\"top-copper\" fill=\"none\" stroke-linecap=\"square\">\r\n"
            "<path stroke-width=\"300\" d=\"M-500 2500h0M-500 1500h0M500 -500h1000\"/>\r\n</g>\r\n");
  PreviewFrame frame{"b", geometry::Extents{false, 0, 0, 2000, 2000}, {}, std::nullopt, 1000};
  WritePreviewEnd(out, {&layer}, frame);
  EXPECT_NE(out.Text().find(">Simplified: features merged on a 1.000 mm grid</text>"), std::string::npos);
}

// Groups fed side by side and ended in any order come out whole, in the order they were
// opened, as one after another would: each larger than an output buffer, so that the
// bytes kept and those passed straight on both cross it.
TEST(SvgPreview, WritesGroupsFedSideBySideInTheirOrder) {
  std::vector<FabLayer> layers(3);
  for (std::size_t n = 0; n < layers.size(); ++n) layers[n].id = "layer-" + std::to_string(n);
  const auto feature = [](std::size_t layer, std::int32_t i) {
    Feature f;
    f.kind = i % 3 == 0 ? FeatureKind::Flash : FeatureKind::Stroke;
    f.disc = {{i, static_cast<std::int32_t>(layer)}, 100 + i % 7};
    f.stroke = {{i, -i}, {i + 5, static_cast<std::int32_t>(layer)}, 200 + i % 5};
    return f;
  };
  constexpr std::int32_t kFeatures = 6000;
  OutFile one = OutFile::InMemory();
  PreviewBody body(one);
  for (std::size_t n = 0; n < layers.size(); ++n) {
    body.Begin(layers[n]);
    for (std::int32_t i = 0; i < kFeatures; ++i) body.Add(feature(n, i));
    body.End();
  }
  OutFile side = OutFile::InMemory();
  PreviewGroups groups(side, {});
  std::vector<PreviewGroups::Group*> open;
  for (const FabLayer& layer : layers) open.push_back(&groups.Open(layer));
  for (std::int32_t i = 0; i < kFeatures; ++i) {
    for (const std::size_t n : {2, 0, 1}) open[n]->Add(feature(n, i));
  }
  for (const std::size_t n : {2, 0, 1}) open[n]->End();
  EXPECT_EQ(side.Text(), one.Text());
}

TEST(SvgPreview, WritesAnyNameAsWellFormedText) {
  const struct {
    std::string utf8, xml;
  } kCases[] = {
      {"board", "board"},
      {"a<b>&\"c'", "a&lt;b&gt;&amp;&quot;c&apos;"},
      {"基板", "基板"},
      {std::string("tab\tline\nnul", 12) + std::string(1, '\0'), "tab\tline\xEF\xBF\xBDnul\xEF\xBF\xBD"},
      {"\xEF\xBF\xBE", "\xEF\xBF\xBD"},  // U+FFFE, which XML cannot hold
  };
  for (const auto& c : kCases) EXPECT_EQ(XmlText(c.utf8), c.xml) << c.utf8;
  EXPECT_EQ(BoardSizeText(geometry::Extents{false, -254, 0, 50546, 38100}), "50.800 × 38.100 mm");
}

}  // namespace
}  // namespace velmorta::fab
