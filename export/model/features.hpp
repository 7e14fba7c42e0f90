#pragma once
// A layer's features, read from its sources one at a time: strokes, flashes and drill
// hits, each with its shape, its aperture's function and the converter code it came
// from. Writers consume them as they come; one walk feeds every layer, each file read
// once; a check can collect a layer in memory (CollectLayer).

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "config/settings.hpp"
#include "export/model/aperture_sizes.hpp"
#include "export/model/layer_model.hpp"
#include "export/read/text_scan.hpp"
#include "geometry/origin.hpp"
#include "geometry/point_set.hpp"
#include "geometry/shapes.hpp"

namespace velmorta::fab {

// Where walks read the converter's files: the paths the configuration names, or texts
// in memory.
class SourceFiles {
 public:
  virtual ~SourceFiles() = default;
  // A scan from the file's start; throws ExportError when it cannot be opened.
  virtual std::unique_ptr<TextScan> Open(Output file) = 0;
  virtual const std::string& Name(Output file) const = 0;  // the path, for messages
  // Its length in bytes, 0 when it cannot be measured (reading it will say why): every
  // stroke, flash and hit takes a coordinate block "X…Y…*" of at least kLeastBlockBytes,
  // so a reader that keeps features can reserve its memory once.
  virtual std::uint64_t Bytes(Output file) const = 0;
};
inline constexpr std::uint64_t kLeastBlockBytes = 5;  // "X0Y0*"

class DiskSources final : public SourceFiles {
 public:
  explicit DiskSources(std::array<std::string, 7> paths) : paths_(std::move(paths)) {}
  std::unique_ptr<TextScan> Open(Output file) override;
  const std::string& Name(Output file) const override { return paths_[IndexOf(file)]; }
  std::uint64_t Bytes(Output file) const override;

 private:
  std::array<std::string, 7> paths_;
};

class TextSources final : public SourceFiles {
 public:
  // Texts of files 1 to 7 at index 0 to 6, named "1" to "7" unless `names` are given.
  explicit TextSources(std::array<std::string, 7> texts, std::array<std::string, 7> names = {});
  std::unique_ptr<TextScan> Open(Output file) override;
  const std::string& Name(Output file) const override { return names_[IndexOf(file)]; }
  std::uint64_t Bytes(Output file) const override { return texts_[IndexOf(file)].size(); }

 private:
  std::array<std::string, 7> texts_, names_;
};

// What the drill and land files tell before any layer is written: enough to tell pads
// and holes apart, and which tools each drill file needs. Each position is looked up
// once: the answers are held a bit per flash and per hit, in file order, for the walks.
struct BoardFacts {
  geometry::Extents landExtents;    // of the centres of the land flashes of files 3 and 4
  bool secondSideLands = false;     // file 4 holds a land: without a pad file, a double-sided board
  std::vector<bool> viaPads[2];     // per flash of file 3 and of file 4: on a through-hole
  std::vector<bool> platedHits;     // per hit of file 5: on a land of a board with two copper layers
  std::set<std::int32_t> platedTools, unplatedTools;  // converter tool codes
};

// A selection, flash or hit of the drill and land files, held from their one reading:
// what they tell decides what the other files' features are, and every layer that
// takes them replays them from here.
struct HeldOp {
  geometry::Point at;
  std::int32_t code = 0;      // aperture or tool
  std::uint32_t ordinal = 0;  // as Feature::ordinal; 0: the selection of `code`
  std::uint64_t offset = 0;   // of its command
};

struct HeldFile {
  std::vector<HeldOp> ops;
  std::vector<bool> through;  // per hit of the drill file: a through-hole ("*M05")
};

struct HeldFiles {
  HeldFile drill;     // file 5
  HeldFile lands[2];  // the flashes of files 3 and 4
};

// File 5, then files 3 and 4, each read once: their selections, flashes and hits, the
// land positions' extents, which lands are via pads, and whether the second side has
// any land.
HeldFiles ReadHeldFiles(SourceFiles& sources, BoardFacts& facts);
// The drill file alone, for its hits.
HeldFile ReadHeldDrill(SourceFiles& sources);
// The centres of the held land flashes.
geometry::PointSet LandsOf(const HeldFiles& held);
// Which hits are plated and the tools of plated and non-plated ones: a hit is plated
// when it lies on a land and the board has two copper layers to join.
void SortHits(const HeldFile& drill, const geometry::PointSet& lands, int copperLayers, BoardFacts& facts);

enum class FeatureKind { Stroke, Flash, Hit };

struct Feature {
  FeatureKind kind{};
  geometry::Capsule stroke;  // Stroke
  geometry::Disc disc;       // Flash, Hit
  AperFunction function = AperFunction::None;
  // Its origin: the converter file, the code (aperture or tool) and its size before any
  // growth, and the offset of the command, for messages.
  Output file{};
  std::int32_t code = 0;
  CodeSize size;
  std::size_t offset = 0;
  // Its number in the converter file, from 1: strokes and flashes of a Gerber file,
  // hits of the drill file, whichever of them the layer takes.
  std::uint32_t ordinal = 0;
  bool through = false;  // a Hit of a through-hole

  geometry::Point At() const { return kind == FeatureKind::Stroke ? stroke.to : disc.centre; }
  geometry::Origin origin() const { return {static_cast<std::uint8_t>(file), ordinal}; }
  std::int64_t Diameter() const { return kind == FeatureKind::Stroke ? stroke.width : disc.diameter; }
};

class FeatureSink {
 public:
  virtual void Add(const Feature& feature) = 0;

 protected:
  ~FeatureSink() = default;
};

// Where a walk sends one layer's features, and tells it when it has had its last.
class LayerSink : public FeatureSink {
 public:
  virtual void End() = 0;

 protected:
  ~LayerSink() = default;
};

struct WalkedLayer {
  const FabLayer* layer = nullptr;
  LayerSink* sink = nullptr;
};

// Every feature of each layer, its sources in order, each in file order. A converter
// file is read once for every layer that takes it next, all of them side by side; the
// drill and land files are replayed from `held` where it holds what a source takes. A
// layer ends as soon as its last source is done. Codes are sized by the configuration
// (SizeOfCode); errors name the converter file.
void WalkLayers(std::span<const WalkedLayer> layers, const Settings& settings, const BoardFacts& facts,
                const HeldFiles* held, SourceFiles& sources);

// One layer read from its files.
void WalkLayer(const FabLayer& layer, const Settings& settings, const BoardFacts& facts,
               SourceFiles& sources, FeatureSink& sink);

// A layer held in memory, for a check or a test.
struct LayerFeatures {
  std::vector<geometry::Capsule> strokes;
  std::vector<geometry::Disc> discs;  // flashes and hits
  std::vector<Feature> all;
};
LayerFeatures CollectLayer(const FabLayer& layer, const Settings& settings,
                           const BoardFacts& facts, SourceFiles& sources);

}  // namespace velmorta::fab
