#include "export/write/kicad_mapping.hpp"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "base/text_encoding.hpp"
#include "export/write/kicad_nets.hpp"

namespace velmorta::fab {
namespace {

using geometry::Point;

std::uint64_t KeyOf(Point p) { return std::uint64_t{static_cast<std::uint32_t>(p.x)} << 32 | static_cast<std::uint32_t>(p.y); }
std::uint64_t SourceOf(const KicadItem& f) { return KicadNets::KeyOf({static_cast<std::uint8_t>(f.file), f.ordinal}); }

// A flash of a land file: a land of one side.
struct Land {
  Point at;  // in the Gerber files' frame
  std::int64_t size = 0;
  std::uint64_t source = 0;
  Side side = Side::Top;
};

struct Hit {
  std::int64_t diameter = 0;
  bool used = false;
};

class Mapper {
 public:
  explicit Mapper(const KicadInputs& in) : in_(in), nets_(in.groups, board_.nets) {
    board_.rules = in.rules;
    for (const KicadInputs::Layer& layer : in.layers) Sort(layer);
    for (const PartLand& part : in.parts) taken_.insert(SystemTextToUtf8(part.name));
  }

  KicadBoard Map() {
    const std::size_t parts = MapParts();
    std::vector<const Land*> loose;
    for (std::size_t i = parts; i < lands_[0].size(); ++i) {
      const Land* other = i < lands_[1].size() && lands_[1][i].at == lands_[0][i].at ? &lands_[1][i] : nullptr;
      if (!MapVia(lands_[0][i], other)) loose.push_back(&lands_[0][i]);
    }
    MapJumpers(loose);
    MapMountingHoles();
    MapCopper();
    nets_.NameTheRest();
    return std::move(board_);
  }

 private:
  Point OnBoard(Point p) const {
    const check::PadFrame& f = in_.frame;
    return {static_cast<std::int32_t>(std::int64_t{p.x} + f.minX - f.margin),
            static_cast<std::int32_t>(std::int64_t{f.maxY} + f.margin - p.y)};
  }
  geometry::Capsule OnBoard(const geometry::Capsule& c) const { return {OnBoard(c.from), OnBoard(c.to), c.width}; }

  void Sort(const KicadInputs::Layer& layer) {
    const FabLayer& l = *layer.layer;
    for (const KicadItem& f : layer.features) {
      const bool land = f.kind == FeatureKind::Flash && TraitsOf(f.file).content == Content::Lands;
      if (land) lands_[f.file == Output::Lands1 ? 0 : 1].push_back({f.shape.from, f.shape.width, SourceOf(f), *l.side});
      if (l.IsDrill() && f.kind == FeatureKind::Hit) {
        const auto [hit, added] = hits_.emplace(KeyOf(f.shape.from), Hit{f.shape.width});
        if (added) hitOrder_.push_back(f.shape.from);
        hit->second.diameter = std::max(hit->second.diameter, f.shape.width);
      }
    }
  }

  std::string FreeReference(const char* prefix) {
    for (;;) {
      std::string reference = prefix + std::to_string(++references_[prefix[0] == 'H']);
      if (taken_.insert(reference).second) return reference;
    }
  }

  Hit* HitAt(Point p) {
    const auto hit = hits_.find(KeyOf(p));
    if (hit == hits_.end()) return nullptr;
    hit->second.used = true;
    return &hit->second;
  }

  KicadPad PadOf(const Land& land, const std::string& number, const std::string& reference, std::int64_t drill,
                 std::optional<Side> side) {
    return {number, OnBoard(land.at), land.size, drill, true, side, nets_.Of(land.source, reference + "-" + number)};
  }

  // A land drilled on a board of two copper sides is one plated pad on both, of the
  // smaller size, and a surface pad of the larger size where the sides differ.
  void AddLandPads(KicadFootprint& footprint, const std::string& number, const Land& first, const Land* second) {
    const Hit* hit = HitAt(first.at);
    const std::string& reference = footprint.reference;
    if (hit == nullptr) {
      footprint.pads.push_back(PadOf(first, number, reference, 0, first.side));
      if (second != nullptr) footprint.pads.push_back(PadOf(*second, number, reference, 0, second->side));
      return;
    }
    if (second == nullptr) {
      footprint.pads.push_back(PadOf(first, number, reference, hit->diameter, first.side));
      return;
    }
    const bool firstSmaller = first.size <= second->size;
    const Land& small = firstSmaller ? first : *second;
    const Land& large = firstSmaller ? *second : first;
    footprint.pads.push_back(PadOf(small, number, reference, hit->diameter, std::nullopt));
    if (large.size != small.size) footprint.pads.push_back(PadOf(large, number, reference, 0, large.side));
  }

  std::size_t MapParts() {
    const bool twoSides = !lands_[1].empty();
    std::unordered_map<std::string, std::size_t> byName;
    std::vector<std::size_t> lands;
    for (std::size_t k = 0; k < in_.parts.size(); ++k) {
      const PartLand& part = in_.parts[k];
      std::string name = SystemTextToUtf8(part.name);
      const bool found = k < lands_[0].size() && (!twoSides || k < lands_[1].size());
      if (!found || OnBoard(lands_[0][k].at) != Point{part.x, part.y}) {
        throw KicadMismatch(k + 1, name);
      }
      const auto [at, added] = byName.emplace(name, board_.footprints.size());
      if (added) {
        board_.footprints.push_back({name, SystemTextToUtf8(part.other), "part", {}, {}});
        lands.push_back(0);
      }
      AddLandPads(board_.footprints[at->second], std::to_string(++lands[at->second]), lands_[0][k],
                  twoSides ? &lands_[1][k] : nullptr);
    }
    return in_.parts.size();
  }

  // A through-hole: a via of the smaller land, the larger drawn as a dot on its side.
  bool MapVia(const Land& first, const Land* second) {
    const Hit* hit = second != nullptr ? HitAt(first.at) : nullptr;
    if (hit == nullptr) return false;
    const bool firstSmaller = first.size <= second->size;
    const Land& small = firstSmaller ? first : *second;
    const Land& large = firstSmaller ? *second : first;
    board_.vias.push_back({OnBoard(first.at), small.size, hit->diameter, nets_.Of(small.source)});
    if (large.size != small.size) {
      const Point at = OnBoard(large.at);
      board_.tracks.push_back({{at, at, large.size}, large.side, nets_.Of(large.source)});
    }
    return true;
  }

  // The wires of the legend with the free ends they are drilled at; lands left over
  // are a footprint each.
  void MapJumpers(const std::vector<const Land*>& loose) {
    std::unordered_multimap<std::uint64_t, const Land*> free;
    for (const Land* land : loose) free.emplace(KeyOf(land->at), land);
    for (const KicadInputs::Layer& layer : in_.layers) {
      if (layer.layer->function != FileFunction::Legend) continue;
      for (const KicadItem& f : layer.features) {
        if (f.kind != FeatureKind::Stroke) continue;
        const KicadLine wire{OnBoard(f.shape), layer.layer->side};
        KicadFootprint jumper{{}, "jumper", "jumper", {}, {wire}};
        for (const Point end : {f.shape.from, f.shape.to}) {
          const auto land = free.find(KeyOf(end));
          if (land == free.end()) continue;
          if (jumper.reference.empty()) jumper.reference = FreeReference("W");
          AddLandPads(jumper, std::to_string(jumper.pads.size() + 1), *land->second, nullptr);
          free.erase(land);
        }
        if (jumper.pads.empty()) {
          board_.lines.push_back(wire);
        } else {
          board_.footprints.push_back(std::move(jumper));
        }
      }
    }
    for (const Land* land : loose) {
      if (free.find(KeyOf(land->at)) == free.end()) continue;
      KicadFootprint single{FreeReference("W"), "land", "land", {}, {}};
      AddLandPads(single, "1", *land, nullptr);
      board_.footprints.push_back(std::move(single));
      free.erase(free.find(KeyOf(land->at)));
    }
  }

  void MapMountingHoles() {
    for (const Point at : hitOrder_) {
      const Hit& hit = hits_.at(KeyOf(at));
      if (hit.used) continue;
      const KicadPad hole{"", OnBoard(at), hit.diameter, hit.diameter, false, std::nullopt, 0};
      board_.footprints.push_back({FreeReference("H"), "hole", "hole", {hole}, {}});
    }
  }

  void MapCopper() {
    for (const KicadInputs::Layer& layer : in_.layers) {
      const FabLayer& l = *layer.layer;
      if (l.function == FileFunction::Profile) {
        for (const KicadItem& f : layer.features) {
          if (f.kind == FeatureKind::Stroke) board_.lines.push_back({OnBoard(f.shape), std::nullopt});
        }
      }
      if (l.function != FileFunction::Copper) continue;
      for (const KicadItem& f : layer.features) {
        if (f.kind == FeatureKind::Stroke) {
          board_.tracks.push_back({OnBoard(f.shape), *l.side, nets_.Of(SourceOf(f))});
        } else if (TraitsOf(f.file).content != Content::Lands) {  // copper drawn as a dot
          const Point at = OnBoard(f.shape.from);
          board_.tracks.push_back({{at, at, f.shape.width}, *l.side, nets_.Of(SourceOf(f))});
        }
      }
    }
  }

  const KicadInputs& in_;
  KicadBoard board_;
  KicadNets nets_;
  std::vector<Land> lands_[2];  // of files 3 and 4, in file order
  std::unordered_map<std::uint64_t, Hit> hits_;
  std::vector<Point> hitOrder_;  // each position once, as first drilled
  std::unordered_set<std::string> taken_;  // references
  std::uint32_t references_[2] = {0, 0};  // the last jumper's and mounting hole's number
};

}  // namespace

KicadItem ItemOf(const Feature& feature) {
  const geometry::Capsule shape = feature.kind == FeatureKind::Stroke
                                      ? feature.stroke
                                      : geometry::Capsule{feature.disc.centre, feature.disc.centre, feature.disc.diameter};
  return {shape, feature.ordinal, feature.file, feature.kind};
}

KicadBoard MapToKicad(const KicadInputs& inputs) { return Mapper(inputs).Map(); }

}  // namespace velmorta::fab
