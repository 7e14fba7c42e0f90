#include "export/model/features.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <tuple>

#include "export/export_test_support.hpp"
#include "export/fab_set.hpp"

namespace velmorta::fab {
namespace {

using namespace testing;

// The converter's files on the disk, counting how often each is opened.
class CountedSources final : public SourceFiles {
 public:
  explicit CountedSources(const std::array<std::string, 7>& paths) : disk_(paths) {}
  std::unique_ptr<TextScan> Open(Output file) override {
    ++opened[IndexOf(file)];
    return disk_.Open(file);
  }
  const std::string& Name(Output file) const override { return disk_.Name(file); }
  std::uint64_t Bytes(Output file) const override { return disk_.Bytes(file); }

  std::array<int, 7> opened{};

 private:
  DiskSources disk_;
};

struct Recorded final : LayerSink {
  std::vector<Feature> features;
  int ends = 0;
  void Add(const Feature& feature) override { features.push_back(feature); }
  void End() override { ++ends; }
};

// What a feature is, leaving out the fields of the other kinds.
auto Fields(const Feature& f) {
  const bool stroke = f.kind == FeatureKind::Stroke;
  return std::tuple(f.kind, stroke ? f.stroke : geometry::Capsule{}, stroke ? geometry::Disc{} : f.disc, f.function,
                    f.file, f.code, f.size.micrometres, f.offset, f.ordinal, f.through);
}

// One walk feeds every layer what a walk of that layer alone reads, in the same order,
// with the drill and land files held and every other file read once where the layers
// allow it: here a layer that takes the first copper file after the lands, unheld, reads
// it again.
TEST(WalkLayers, FeedsEachLayerWhatItsOwnWalkReadsWithEachFileReadOnce) {
  for (const char* pad : {"board.pad", "single.pad"}) {
    SCOPED_TRACE(pad);
    TempDir dir;
    ASSERT_EQ(ConvertExampleBoard(dir, pad), 0);
    const ConvertedBoard board = ReadBoard(dir / "board", dir / "velmorta.cfg");
    std::vector<FabLayer> layers = board.model.layers;
    FabLayer extra = layers.front();
    extra.sources = {{Output::BottomCopper, Take::Everything, AperFunction::None}};
    layers.push_back(extra);
    extra.sources = {{Output::Lands1, Take::Everything, AperFunction::Conductor}, extra.sources.front()};
    layers.push_back(extra);

    CountedSources sources(board.paths);
    std::deque<Recorded> recorded;
    std::vector<WalkedLayer> walked;
    for (const FabLayer& layer : layers) walked.push_back({&layer, &recorded.emplace_back()});
    WalkLayers(walked, board.settings, board.facts, &board.held, sources);
    EXPECT_EQ(sources.opened, (std::array<int, 7>{2, 1, 1, 0, 0, 1, 1}));

    DiskSources disk(board.paths);
    for (std::size_t n = 0; n < layers.size(); ++n) {
      SCOPED_TRACE(layers[n].name + " " + std::to_string(n));
      EXPECT_EQ(recorded[n].ends, 1);
      const LayerFeatures alone = CollectLayer(layers[n], board.settings, board.facts, disk);
      ASSERT_EQ(recorded[n].features.size(), alone.all.size());
      for (std::size_t k = 0; k < alone.all.size(); ++k) {
        ASSERT_EQ(Fields(recorded[n].features[k]), Fields(alone.all[k])) << k;
      }
    }
  }
}

}  // namespace
}  // namespace velmorta::fab
