#include "export/write/kicad_mapping.hpp"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "base/text_encoding.hpp"
#include "export/write/kicad_nets.hpp"

namespace velmorta::fab {
namespace {

using geometry::Point;

std::uint64_t KeyOf(Point p) { return std::uint64_t{static_cast<std::uint32_t>(p.x)} << 32 | static_cast<std::uint32_t>(p.y); }
std::uint64_t SourceOf(const KicadItem& f) { return KicadNets::KeyOf(f.origin()); }

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

// A legend stroke drilled at a free end: a jumper footprint of its wire and those ends.
struct Jumper {
  const KicadItem* wire = nullptr;
  const FabLayer* layer = nullptr;
  const Land* ends[2] = {nullptr, nullptr};
};

}  // namespace

class KicadMapping::Mapper {
 public:
  explicit Mapper(KicadInputs in) : in_(std::move(in)), nets_(in_.groups, names_) {
    in_.groups = {};  // the nets' own table holds them
    for (const KicadInputs::Layer& layer : in_.layers) Sort(layer);
    for (const PartLand& part : in_.parts) partNames_.insert(SystemTextToUtf8(part.name));
    Plan();
  }

  void Write(OutFile& out) {
    KicadBoardWriter writer(out, in_.rules, names_);
    references_[0] = references_[1] = 0;  // given again in the order the first round gave them
    WriteParts(writer);
    WriteJumpers(writer);
    WriteMountingHoles(writer);
    WriteLines(writer);
    WriteTracks(writer);
    WriteVias(writer);
    writer.Finish();
  }

 private:
  // The first round: what every land becomes, and the nets, numbered as the items ask
  // for them in this order (parts, vias, jumpers, the copper), before anything is written.
  void Plan() {
    numbering_ = true;
    const std::size_t parts = PlanParts();
    std::vector<const Land*> loose;
    for (std::size_t i = parts; i < lands_[0].size(); ++i) {
      const Land* other = i < lands_[1].size() && lands_[1][i].at == lands_[0][i].at ? &lands_[1][i] : nullptr;
      if (other != nullptr && HitAt(lands_[0][i].at) != nullptr) {
        vias_.push_back(static_cast<std::uint32_t>(i));
        const auto [small, large] = SmallAndLarge(lands_[0][i], *other);
        nets_.Of(small.source);
        if (large.size != small.size) nets_.Of(large.source);
      } else {
        loose.push_back(&lands_[0][i]);
      }
    }
    PlanJumpers(loose);
    for (const KicadInputs::Layer& layer : in_.layers) {
      if (layer.layer->function != FileFunction::Copper) continue;
      for (const KicadItem& f : layer.features) {
        if (f.kind == FeatureKind::Stroke || TraitsOf(f.file).content != Content::Lands) nets_.Of(SourceOf(f));
      }
    }
    nets_.NameTheRest();
    numbering_ = false;
  }

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

  // Generated references skip the parts' names; one prefix's numbers only grow, and the
  // prefixes differ, so no two generated ones meet.
  std::string FreeReference(const char* prefix) {
    for (;;) {
      std::string reference = prefix + std::to_string(++references_[prefix[0] == 'H']);
      if (!partNames_.contains(reference)) return reference;
    }
  }

  Hit* HitAt(Point p) {
    const auto hit = hits_.find(KeyOf(p));
    if (hit == hits_.end()) return nullptr;
    hit->second.used = true;
    return &hit->second;
  }

  static std::pair<const Land&, const Land&> SmallAndLarge(const Land& first, const Land& second) {
    const bool firstSmaller = first.size <= second.size;
    return {firstSmaller ? first : second, firstSmaller ? second : first};
  }

  // In the first round a pad numbers its net and may name it; in the second it finds it.
  std::uint32_t NetOf(std::uint64_t source, const std::string& padName = {}) {
    return numbering_ ? nets_.Of(source, padName) : nets_.Find(source);
  }

  KicadPad PadOf(const Land& land, const std::string& number, const std::string& reference, std::int64_t drill,
                 std::optional<Side> side) {
    return {number, OnBoard(land.at), land.size, drill, true, side, NetOf(land.source, reference + "-" + number)};
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
    const auto [small, large] = SmallAndLarge(first, *second);
    footprint.pads.push_back(PadOf(small, number, reference, hit->diameter, std::nullopt));
    if (large.size != small.size) footprint.pads.push_back(PadOf(large, number, reference, 0, large.side));
  }

  const Land* SecondSide(std::size_t k) const { return lands_[1].empty() ? nullptr : &lands_[1][k]; }

  // Each part is a land of the converter's files; parts of one name are one footprint,
  // whose pads are numbered in record order.
  std::size_t PlanParts() {
    const bool twoSides = !lands_[1].empty();
    std::unordered_map<std::string, std::uint32_t> byName;
    std::vector<std::uint32_t> footprintOf;
    footprintOf.reserve(in_.parts.size());
    KicadFootprint scratch;
    for (std::size_t k = 0; k < in_.parts.size(); ++k) {
      const PartLand& part = in_.parts[k];
      std::string name = SystemTextToUtf8(part.name);
      const bool found = k < lands_[0].size() && (!twoSides || k < lands_[1].size());
      if (!found || OnBoard(lands_[0][k].at) != Point{part.x, part.y}) {
        throw KicadMismatch(k + 1, name);
      }
      const auto [at, added] = byName.emplace(name, static_cast<std::uint32_t>(partStarts_.size()));
      if (added) partStarts_.push_back(0);
      footprintOf.push_back(at->second);
      scratch.reference = std::move(name);
      scratch.pads.clear();
      AddLandPads(scratch, std::to_string(++partStarts_[at->second]), lands_[0][k], SecondSide(k));
    }
    // The parts of each footprint together, in record order: counted above, placed here.
    std::uint32_t start = 0;
    for (std::uint32_t& count : partStarts_) start += std::exchange(count, start);
    partStarts_.push_back(start);
    partOrder_.resize(in_.parts.size());
    std::vector<std::uint32_t> next(partStarts_.begin(), partStarts_.end() - 1);
    for (std::uint32_t k = 0; k < footprintOf.size(); ++k) partOrder_[next[footprintOf[k]]++] = k;
    return in_.parts.size();
  }

  void WriteParts(KicadBoardWriter& writer) {
    for (std::size_t f = 0; f + 1 < partStarts_.size(); ++f) {
      const PartLand& first = in_.parts[partOrder_[partStarts_[f]]];
      KicadFootprint footprint{SystemTextToUtf8(first.name), SystemTextToUtf8(first.other), "part", {}, {}};
      for (std::uint32_t n = partStarts_[f]; n < partStarts_[f + 1]; ++n) {
        const std::uint32_t k = partOrder_[n];
        AddLandPads(footprint, std::to_string(n - partStarts_[f] + 1), lands_[0][k], SecondSide(k));
      }
      writer.Add(footprint);
    }
  }

  // The wires of the legend with the free ends they are drilled at; lands left over
  // are a footprint each.
  void PlanJumpers(const std::vector<const Land*>& loose) {
    std::unordered_multimap<std::uint64_t, const Land*> free;
    for (const Land* land : loose) free.emplace(KeyOf(land->at), land);
    KicadFootprint scratch;
    for (const KicadInputs::Layer& layer : in_.layers) {
      if (layer.layer->function != FileFunction::Legend) continue;
      for (const KicadItem& f : layer.features) {
        if (f.kind != FeatureKind::Stroke) continue;
        Jumper jumper{&f, layer.layer, {}};
        scratch.reference.clear();
        std::size_t pads = 0;
        for (const Point end : {f.shape.from, f.shape.to}) {
          const auto land = free.find(KeyOf(end));
          if (land == free.end()) continue;
          if (scratch.reference.empty()) scratch.reference = FreeReference("W");
          jumper.ends[pads++] = land->second;
          scratch.pads.clear();
          AddLandPads(scratch, std::to_string(pads), *land->second, nullptr);
          free.erase(land);
        }
        if (pads > 0) jumpers_.push_back(jumper);
      }
    }
    for (const Land* land : loose) {
      const auto left = free.find(KeyOf(land->at));
      if (left == free.end()) continue;
      singles_.push_back(land);
      scratch.reference = FreeReference("W");
      scratch.pads.clear();
      AddLandPads(scratch, "1", *land, nullptr);
      free.erase(left);
    }
  }

  void WriteJumpers(KicadBoardWriter& writer) {
    for (const Jumper& jumper : jumpers_) {
      KicadFootprint footprint{FreeReference("W"), "jumper", "jumper", {}, {{OnBoard(jumper.wire->shape), jumper.layer->side}}};
      for (const Land* end : jumper.ends) {
        if (end != nullptr) AddLandPads(footprint, std::to_string(footprint.pads.size() + 1), *end, nullptr);
      }
      writer.Add(footprint);
    }
    for (const Land* land : singles_) {
      KicadFootprint single{FreeReference("W"), "land", "land", {}, {}};
      AddLandPads(single, "1", *land, nullptr);
      writer.Add(single);
    }
  }

  void WriteMountingHoles(KicadBoardWriter& writer) {
    for (const Point at : hitOrder_) {
      const Hit& hit = hits_.at(KeyOf(at));
      if (hit.used) continue;
      const KicadPad hole{"", OnBoard(at), hit.diameter, hit.diameter, false, std::nullopt, 0};
      writer.Add(KicadFootprint{FreeReference("H"), "hole", "hole", {hole}, {}});
    }
  }

  // The legend's wires that are no jumper, then the edge.
  void WriteLines(KicadBoardWriter& writer) {
    std::size_t jumper = 0;
    for (const KicadInputs::Layer& layer : in_.layers) {
      if (layer.layer->function != FileFunction::Legend) continue;
      for (const KicadItem& f : layer.features) {
        if (f.kind != FeatureKind::Stroke) continue;
        if (jumper < jumpers_.size() && jumpers_[jumper].wire == &f) {
          ++jumper;
        } else {
          writer.Add(KicadLine{OnBoard(f.shape), layer.layer->side});
        }
      }
    }
    for (const KicadInputs::Layer& layer : in_.layers) {
      if (layer.layer->function != FileFunction::Profile) continue;
      for (const KicadItem& f : layer.features) {
        if (f.kind == FeatureKind::Stroke) writer.Add(KicadLine{OnBoard(f.shape), std::nullopt});
      }
    }
  }

  // A through-hole's larger land as a dot on its side, then the copper's lines, fills
  // and auxiliary lands.
  void WriteTracks(KicadBoardWriter& writer) {
    for (const std::uint32_t i : vias_) {
      const auto [small, large] = SmallAndLarge(lands_[0][i], lands_[1][i]);
      if (large.size == small.size) continue;
      const Point at = OnBoard(large.at);
      writer.Add(KicadTrack{{at, at, large.size}, large.side, NetOf(large.source)});
    }
    for (const KicadInputs::Layer& layer : in_.layers) {
      const FabLayer& l = *layer.layer;
      if (l.function != FileFunction::Copper) continue;
      for (const KicadItem& f : layer.features) {
        if (f.kind == FeatureKind::Stroke) {
          writer.Add(KicadTrack{OnBoard(f.shape), *l.side, NetOf(SourceOf(f))});
        } else if (TraitsOf(f.file).content != Content::Lands) {  // copper drawn as a dot
          const Point at = OnBoard(f.shape.from);
          writer.Add(KicadTrack{{at, at, f.shape.width}, *l.side, NetOf(SourceOf(f))});
        }
      }
    }
  }

  // A through-hole: a via of the smaller land.
  void WriteVias(KicadBoardWriter& writer) {
    for (const std::uint32_t i : vias_) {
      const Land& first = lands_[0][i];
      const Land& small = SmallAndLarge(first, lands_[1][i]).first;
      writer.Add(KicadVia{OnBoard(first.at), small.size, HitAt(first.at)->diameter, NetOf(small.source)});
    }
  }

  KicadInputs in_;
  std::vector<std::string> names_;  // of the nets
  KicadNets nets_;
  bool numbering_ = false;  // the first round
  std::vector<Land> lands_[2];  // of files 3 and 4, in file order
  std::unordered_map<std::uint64_t, Hit> hits_;
  std::vector<Point> hitOrder_;  // each position once, as first drilled
  std::unordered_set<std::string> partNames_;  // UTF-8
  std::uint32_t references_[2] = {0, 0};  // the last jumper's and mounting hole's number
  // The parts' footprints: footprint f's parts are partOrder_[partStarts_[f]] up to
  // partStarts_[f + 1], in record order.
  std::vector<std::uint32_t> partStarts_, partOrder_;
  std::vector<std::uint32_t> vias_;  // lands of file 3 that are through-holes
  std::vector<Jumper> jumpers_;
  std::vector<const Land*> singles_;
};

KicadItem ItemOf(const Feature& feature) {
  const geometry::Capsule shape = feature.kind == FeatureKind::Stroke
                                      ? feature.stroke
                                      : geometry::Capsule{feature.disc.centre, feature.disc.centre, feature.disc.diameter};
  return {shape, feature.ordinal, feature.file, feature.kind};
}

KicadMapping::KicadMapping(KicadInputs inputs) : mapper_(std::make_unique<Mapper>(std::move(inputs))) {}
KicadMapping::~KicadMapping() = default;

void KicadMapping::Write(OutFile& out) { mapper_->Write(out); }

}  // namespace velmorta::fab
