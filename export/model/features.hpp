#pragma once
// A layer's features, read from its sources one at a time: strokes, flashes and drill
// hits, each with its shape, its aperture's function and the converter code it came
// from. Writers consume them as they come; a check can collect them in memory
// (CollectLayer) from the same walk.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "config/settings.hpp"
#include "export/model/aperture_sizes.hpp"
#include "export/model/layer_model.hpp"
#include "export/read/text_scan.hpp"
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
  // Every stroke, flash and hit is written in a coordinate block "X…Y…": the number of
  // "X" bytes of a file bounds its features from above, for a reader that keeps them to
  // reserve its memory once. 0 when the file cannot be read (reading it will say why).
  virtual std::uint64_t CoordinateBlocks(Output file) = 0;
};

class DiskSources final : public SourceFiles {
 public:
  explicit DiskSources(std::array<std::string, 7> paths) : paths_(std::move(paths)) {}
  std::unique_ptr<TextScan> Open(Output file) override;
  const std::string& Name(Output file) const override { return paths_[IndexOf(file)]; }
  std::uint64_t CoordinateBlocks(Output file) override;

 private:
  std::array<std::string, 7> paths_;
};

class TextSources final : public SourceFiles {
 public:
  // Texts of files 1 to 7 at index 0 to 6, named "1" to "7" unless `names` are given.
  explicit TextSources(std::array<std::string, 7> texts, std::array<std::string, 7> names = {});
  std::unique_ptr<TextScan> Open(Output file) override;
  const std::string& Name(Output file) const override { return names_[IndexOf(file)]; }
  std::uint64_t CoordinateBlocks(Output file) override;

 private:
  std::array<std::string, 7> texts_, names_;
};

// What the surveys learn before any layer is written: enough to tell pads and holes
// apart, and which tools each drill file needs. Each position is looked up once: the
// answers are kept a bit per flash and per hit, in file order, for the walks.
struct BoardFacts {
  geometry::PointSet lands;         // every land flash of files 3 and 4
  geometry::Extents landExtents;    // of their centres
  geometry::PointSet throughHoles;  // positions drilled as through-holes ("*M05")
  bool secondSideLands = false;     // file 4 holds a land: without a pad file, a double-sided board
  std::vector<bool> viaPads[2];     // per flash of file 3 and of file 4: on a through-hole
  std::vector<bool> platedHits;     // per hit of file 5: on a land of a board with two copper layers
  std::set<std::int32_t> platedTools, unplatedTools;  // converter tool codes
};

// File 5, then files 3 and 4: the through-holes, the land positions, which lands are
// via pads, and whether the second side has any land.
void SurveyLands(SourceFiles& sources, BoardFacts& facts);
// File 5 again: the plated hits and the tools of plated and non-plated ones. A hit is
// plated when it lies on a land and the board has two copper layers to join.
void SurveyDrill(SourceFiles& sources, int copperLayers, BoardFacts& facts);

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
  std::int64_t Diameter() const { return kind == FeatureKind::Stroke ? stroke.width : disc.diameter; }
};

class FeatureSink {
 public:
  virtual void Add(const Feature& feature) = 0;

 protected:
  ~FeatureSink() = default;
};

// Every feature of `layer`, source by source in file order. Codes are sized by the
// configuration (SizeOfCode); errors name the converter file.
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
