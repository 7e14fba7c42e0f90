#pragma once
// The board house's layers, composed from the converter's files: copper per side with
// its pads, solder mask openings, legend, plated and non-plated holes, the drill map
// and the profile. Readers fill nothing here: a layer names its sources, and a walk
// over them (export/model/features.hpp) yields its features to whichever writer or check
// consumes them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/outputs.hpp"
#include "export/model/fab_settings.hpp"

namespace velmorta::fab {

enum class FileFunction { Copper, Soldermask, Legend, Profile, Plated, NonPlated, Drillmap };

enum class Polarity { Positive, Negative };

// What an aperture is for. Pads are told apart by their hole: a source of component
// pads yields a via pad at a through-hole's position.
enum class AperFunction { None, Conductor, ComponentPad, ViaPad, Profile };

// "Conductor", "ComponentPad", ...; empty for None.
std::string_view AperFunctionText(AperFunction function);

// Which of a converter file's features a layer takes.
enum class Take {
  Everything,
  Flashes,
  PlatedHits,    // drill hits on a land
  UnplatedHits,  // drill hits on no land: mounting holes
};

struct Source {
  Output file{};
  Take take = Take::Everything;
  AperFunction function = AperFunction::None;
  std::int64_t grow = 0;  // added to every diameter, 0.001 mm: a mask opening's expansion on both sides
};

struct FabLayer {
  FileFunction function{};
  std::optional<Side> side;  // copper, mask and legend
  int copperLayer = 0;       // copper: 1 is the top
  Polarity polarity = Polarity::Positive;
  std::string name;          // "board.GTL"
  std::string id;            // "top-copper", for the preview and the tests
  std::string role;          // "top copper", for people
  std::vector<Source> sources;

  bool IsDrill() const { return function == FileFunction::Plated || function == FileFunction::NonPlated; }
};

struct LayerModel {
  int copperLayers = 0;
  std::vector<FabLayer> layers;  // in the order they are written

  const FabLayer* Find(std::string_view id) const;
};

// The default mapping, changed by `settings`: copper of the first side is file 1 with
// the land flashes of file 3, of the second side (double-sided boards) file 2 with
// those of file 4; a single-sided board's file 2 holds wire jumpers and becomes the
// legend of the other side. Files are named after `board`.
LayerModel ComposeLayers(const FabSettings& settings, bool doubleSided, std::string_view board);

// The X2 texts: "Copper,L1,Top", "Soldermask,Bot", "Plated,1,2,PTH", "Positive".
std::string FileFunctionText(const FabLayer& layer, int copperLayers);
std::string_view PolarityText(Polarity polarity);

}  // namespace velmorta::fab
