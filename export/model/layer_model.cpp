#include "export/model/layer_model.hpp"

namespace velmorta::fab {
namespace {

std::string_view SideName(Side side) { return side == Side::Top ? "top" : "bottom"; }
Side Other(Side side) { return side == Side::Top ? Side::Bottom : Side::Top; }
// The two letters of the conventional extensions: .GTL is top copper, .GBS bottom mask.
char Letter(Side side) { return side == Side::Top ? 'T' : 'B'; }

}  // namespace

const FabLayer* LayerModel::Find(std::string_view id) const {
  for (const FabLayer& layer : layers) {
    if (layer.id == id) return &layer;
  }
  return nullptr;
}

LayerModel ComposeLayers(const FabSettings& settings, bool doubleSided, std::string_view board) {
  const std::string base(board);
  const Side first = settings.firstSide, second = Other(settings.firstSide);
  const bool secondCopper = doubleSided || settings.singleSidedTop == SingleSidedTop::Copper;
  const bool jumpers = !doubleSided && settings.singleSidedTop == SingleSidedTop::Legend;

  LayerModel model;
  model.copperLayers = secondCopper ? 2 : 1;
  auto add = [&](FileFunction function, std::optional<Side> side, Polarity polarity, std::string name,
                 std::string id, std::string role, std::vector<Source> sources) {
    FabLayer layer{function, side, 0, polarity, std::move(name), std::move(id), std::move(role), std::move(sources)};
    model.layers.push_back(std::move(layer));
  };
  auto copper = [&](Side side, BoardSide from, bool withLands) {
    std::vector<Source> sources = {{FileOf(Content::Lines, from), Take::Everything, AperFunction::Conductor}};
    if (withLands) sources.push_back({FileOf(Content::Lands, from), Take::Flashes, AperFunction::ComponentPad});
    add(FileFunction::Copper, side, Polarity::Positive, base + ".G" + Letter(side) + "L",
        std::string(SideName(side)) + "-copper", std::string(SideName(side)) + " copper", std::move(sources));
  };
  auto mask = [&](Side side, BoardSide from) {
    add(FileFunction::Soldermask, side, Polarity::Negative, base + ".G" + Letter(side) + "S",
        std::string(SideName(side)) + "-mask", std::string(SideName(side)) + " solder mask openings",
        {{FileOf(Content::Lands, from), Take::Flashes, AperFunction::ComponentPad, 2 * settings.maskExpansion}});
  };

  // The top first, as board houses list them.
  const Side sides[] = {Side::Top, Side::Bottom};
  for (const Side side : sides) {
    if (side == first) copper(side, BoardSide::First, true);
    if (side == second && secondCopper) copper(side, BoardSide::Second, doubleSided);
  }
  for (const Side side : sides) {
    if (side == first) mask(side, BoardSide::First);
    if (side == second && doubleSided) mask(side, BoardSide::Second);
  }
  if (jumpers) {
    add(FileFunction::Legend, second, Polarity::Positive, base + ".G" + Letter(second) + "O",
        std::string(SideName(second)) + "-legend", std::string(SideName(second)) + " legend: wire jumpers",
        {{Output::TopCopper, Take::Everything, AperFunction::None}});
  }
  add(FileFunction::Profile, std::nullopt, Polarity::Positive, base + ".GKO", "profile", "board profile",
      {{Output::Outline, Take::Everything, AperFunction::Profile}});
  add(FileFunction::Plated, std::nullopt, Polarity::Positive, base + "-PTH.drl", "plated-holes", "plated holes",
      {{Output::Drill, Take::PlatedHits}});
  add(FileFunction::NonPlated, std::nullopt, Polarity::Positive, base + "-NPTH.drl", "unplated-holes",
      "non-plated holes", {{Output::Drill, Take::UnplatedHits}});
  add(FileFunction::Drillmap, std::nullopt, Polarity::Positive, base + "-drl_map.gbr", "drill-map", "drill map",
      {{Output::HoleDrawing, Take::Everything}});

  for (FabLayer& layer : model.layers) {
    if (layer.function == FileFunction::Copper) {
      layer.copperLayer = layer.side == Side::Top || model.copperLayers == 1 ? 1 : 2;
    }
  }
  return model;
}

std::string FileFunctionText(const FabLayer& layer, int copperLayers) {
  const std::string side = layer.side == Side::Top ? "Top" : "Bot";
  const std::string span = "1," + std::to_string(copperLayers);
  switch (layer.function) {
    case FileFunction::Copper: return "Copper,L" + std::to_string(layer.copperLayer) + "," + side;
    case FileFunction::Soldermask: return "Soldermask," + side;
    case FileFunction::Legend: return "Legend," + side;
    case FileFunction::Profile: return "Profile,NP";
    case FileFunction::Plated: return "Plated," + span + ",PTH";
    case FileFunction::NonPlated: return "NonPlated," + span + ",NPTH";
    case FileFunction::Drillmap: break;
  }
  return "Drillmap";
}

std::string_view PolarityText(Polarity polarity) {
  return polarity == Polarity::Positive ? "Positive" : "Negative";
}

}  // namespace velmorta::fab

namespace velmorta::fab {

std::string_view AperFunctionText(AperFunction function) {
  switch (function) {
    case AperFunction::None: break;
    case AperFunction::Conductor: return "Conductor";
    case AperFunction::ComponentPad: return "ComponentPad";
    case AperFunction::ViaPad: return "ViaPad";
    case AperFunction::Profile: return "Profile";
  }
  return "";
}

}  // namespace velmorta::fab
