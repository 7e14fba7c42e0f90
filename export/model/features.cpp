#include "export/model/features.hpp"

#include <algorithm>
#include <filesystem>

#include "base/files.hpp"
#include "export/read/drill_program.hpp"
#include "export/read/export_error.hpp"
#include "export/read/gerber_program.hpp"

namespace velmorta::fab {
namespace {

// The sizes of one file's codes, looked up once each.
class CodeSizes {
 public:
  CodeSizes(const Settings& settings, Output file, const std::string& name)
      : settings_(settings), list_(ListOf(file)), name_(name) {}

  const CodeSize& Of(std::int32_t code) {
    const auto found = sizes_.find(code);
    if (found != sizes_.end()) return found->second;
    return sizes_[code] = SizeOfCode(settings_, list_, code, name_);
  }

 private:
  const Settings& settings_;
  SizeList list_;
  const std::string& name_;
  std::map<std::int32_t, CodeSize> sizes_;
};

// What a walk sends one layer's source to.
struct Target {
  const Source* source = nullptr;
  FeatureSink* sink = nullptr;
};

// The features of one converter file's operations, made for each source that takes
// them: the one home of what a source takes and how it grows and names its features.
class Fan {
 public:
  Fan(Output file, const Settings& settings, const BoardFacts& facts, const std::string& name,
      std::span<const Target> targets)
      : sizes_(settings, file, name),
        vias_(file == Output::Lands1 ? &facts.viaPads[0] : file == Output::Lands2 ? &facts.viaPads[1] : nullptr),
        plated_(facts.platedHits),
        targets_(targets) {
    feature_.file = file;
  }

  void Select(std::int32_t code) {
    feature_.code = code;
    size_ = &sizes_.Of(code);
    feature_.size = *size_;
  }

  // Reading the file made sure that nothing is drawn, flashed or drilled before a
  // selection.
  void Draw(geometry::Point from, geometry::Point to, std::uint64_t offset, std::uint32_t ordinal) {
    feature_.kind = FeatureKind::Stroke;
    feature_.offset = offset;
    feature_.ordinal = ordinal;
    for (const Target& target : targets_) {
      const Source& source = *target.source;
      if (source.take != Take::Everything) continue;
      feature_.stroke = {from, to, size_->micrometres + source.grow};
      feature_.function = source.function;
      target.sink->Add(feature_);
    }
  }

  void Flash(geometry::Point at, std::uint64_t offset, std::uint32_t ordinal) {
    const bool via = vias_ != nullptr && flashes_ < vias_->size() && (*vias_)[flashes_];
    ++flashes_;
    feature_.kind = FeatureKind::Flash;
    feature_.offset = offset;
    feature_.ordinal = ordinal;
    for (const Target& target : targets_) {
      const Source& source = *target.source;
      feature_.disc = {at, size_->micrometres + source.grow};
      feature_.function = source.function == AperFunction::ComponentPad && via ? AperFunction::ViaPad : source.function;
      target.sink->Add(feature_);
    }
  }

  void Hit(geometry::Point at, std::uint64_t offset, bool through) {
    const bool plated = hits_ < plated_.size() && plated_[hits_];
    ++hits_;
    feature_.kind = FeatureKind::Hit;
    feature_.offset = offset;
    feature_.ordinal = static_cast<std::uint32_t>(hits_);
    feature_.through = through;
    for (const Target& target : targets_) {
      const Source& source = *target.source;
      if ((source.take == Take::PlatedHits && !plated) || (source.take == Take::UnplatedHits && plated)) continue;
      feature_.disc = {at, size_->micrometres + source.grow};
      feature_.function = source.function;
      target.sink->Add(feature_);
    }
  }

 private:
  CodeSizes sizes_;
  const CodeSize* size_ = nullptr;
  const std::vector<bool>* vias_;
  const std::vector<bool>& plated_;
  std::span<const Target> targets_;
  std::size_t flashes_ = 0, hits_ = 0;
  Feature feature_;
};

void ReadGerber(Output file, SourceFiles& sources, Fan& fan) {
  const std::unique_ptr<TextScan> scan = sources.Open(file);
  GerberReader reader(*scan, file);
  geometry::Point at;
  std::uint32_t ordinal = 0;
  for (GerberOp op; reader.Next(op);) {
    const geometry::Point to{op.x, op.y};
    switch (op.kind) {
      case GerberOpKind::Select: fan.Select(op.code); break;
      case GerberOpKind::Draw: fan.Draw(at, to, op.offset, ++ordinal); break;
      case GerberOpKind::Flash: fan.Flash(to, op.offset, ++ordinal); break;
      case GerberOpKind::Linear:
      case GerberOpKind::Move:
      case GerberOpKind::End: break;
    }
    if (op.kind == GerberOpKind::Move || op.kind == GerberOpKind::Draw || op.kind == GerberOpKind::Flash) at = to;
  }
}

void ReadDrill(SourceFiles& sources, Fan& fan) {
  const std::unique_ptr<TextScan> scan = sources.Open(Output::Drill);
  DrillReader reader(*scan);
  for (DrillOp op; reader.Next(op);) {
    if (op.kind == DrillOpKind::Select) fan.Select(op.tool);
    if (op.kind == DrillOpKind::Hit) fan.Hit({op.x, op.y}, op.offset, op.through);
  }
}

void Replay(const HeldFile& held, Output file, Fan& fan) {
  std::size_t hits = 0;
  for (const HeldOp& op : held.ops) {
    if (op.ordinal == 0) {
      fan.Select(op.code);
    } else if (file == Output::Drill) {
      fan.Hit(op.at, op.offset, held.through[hits++]);
    } else {
      fan.Flash(op.at, op.offset, op.ordinal);
    }
  }
}

// The held file that holds all a source takes, if any.
const HeldFile* HeldFor(const HeldFiles* held, const Source& source) {
  if (held == nullptr) return nullptr;
  if (source.file == Output::Drill) return &held->drill;
  if (source.take != Take::Flashes) return nullptr;
  if (source.file == Output::Lands1) return &held->lands[0];
  if (source.file == Output::Lands2) return &held->lands[1];
  return nullptr;
}

// Room for as many operations as a file of `bytes` holds coordinate blocks, reserved
// once: what is never filled is never touched and takes no memory, and nothing is
// copied as the list grows.
void Reserve(HeldFile& held, std::uint64_t bytes) {
  held.ops.reserve(static_cast<std::size_t>(bytes / kLeastBlockBytes));
}

// A FeatureSink as a layer's, told nothing of its end.
class OneLayer final : public LayerSink {
 public:
  explicit OneLayer(FeatureSink& sink) : sink_(sink) {}
  void Add(const Feature& feature) override { sink_.Add(feature); }
  void End() override {}

 private:
  FeatureSink& sink_;
};

class Collector final : public FeatureSink {
 public:
  explicit Collector(LayerFeatures& features) : features_(features) {}
  void Add(const Feature& feature) override {
    if (feature.kind == FeatureKind::Stroke) {
      features_.strokes.push_back(feature.stroke);
    } else {
      features_.discs.push_back(feature.disc);
    }
    features_.all.push_back(feature);
  }

 private:
  LayerFeatures& features_;
};

}  // namespace

std::unique_ptr<TextScan> DiskSources::Open(Output file) {
  return TextScan::Open(Name(file), static_cast<int>(file));
}

std::uint64_t DiskSources::Bytes(Output file) const {
  std::error_code unknown;
  const std::uintmax_t bytes = std::filesystem::file_size(Name(file), unknown);
  return unknown ? 0 : bytes;
}

TextSources::TextSources(std::array<std::string, 7> texts, std::array<std::string, 7> names)
    : texts_(std::move(texts)), names_(std::move(names)) {
  for (std::size_t n = 0; n < names_.size(); ++n) {
    if (names_[n].empty()) names_[n] = std::to_string(n + 1);
  }
}

std::unique_ptr<TextScan> TextSources::Open(Output file) {
  return std::make_unique<TextScan>(texts_[IndexOf(file)], Name(file));
}

HeldFile ReadHeldDrill(SourceFiles& sources) {
  const std::unique_ptr<TextScan> scan = sources.Open(Output::Drill);
  DrillReader reader(*scan);
  HeldFile held;
  Reserve(held, sources.Bytes(Output::Drill));
  for (DrillOp op; reader.Next(op);) {
    if (op.kind == DrillOpKind::Select) held.ops.push_back({{}, op.tool, 0, op.offset});
    if (op.kind != DrillOpKind::Hit) continue;
    held.through.push_back(op.through);
    held.ops.push_back({{op.x, op.y}, op.tool, static_cast<std::uint32_t>(held.through.size()), op.offset});
  }
  return held;
}

HeldFiles ReadHeldFiles(SourceFiles& sources, BoardFacts& facts) {
  HeldFiles held;
  held.drill = ReadHeldDrill(sources);
  geometry::PointSet throughHoles;
  for (const HeldOp& op : held.drill.ops) {
    if (op.ordinal != 0 && held.drill.through[op.ordinal - 1]) throughHoles.Add(op.at);
  }
  for (const Output file : {Output::Lands1, Output::Lands2}) {
    const std::size_t side = file == Output::Lands1 ? 0 : 1;
    const std::unique_ptr<TextScan> scan = sources.Open(file);
    GerberReader reader(*scan, file);
    HeldFile& lands = held.lands[side];
    Reserve(lands, sources.Bytes(file));
    std::uint32_t ordinal = 0;
    for (GerberOp op; reader.Next(op);) {
      if (op.kind == GerberOpKind::Select) lands.ops.push_back({{}, op.code, 0, op.offset});
      if (op.kind == GerberOpKind::Draw) ++ordinal;
      if (op.kind != GerberOpKind::Flash) continue;
      const geometry::Point at{op.x, op.y};
      lands.ops.push_back({at, op.code, ++ordinal, op.offset});
      facts.landExtents.Add(at);
      facts.viaPads[side].push_back(throughHoles.Contains(at));
      if (file == Output::Lands2) facts.secondSideLands = true;
    }
  }
  return held;
}

geometry::PointSet LandsOf(const HeldFiles& held) {
  geometry::PointSet lands;
  for (const HeldFile& file : held.lands) {
    for (const HeldOp& op : file.ops) {
      if (op.ordinal != 0) lands.Add(op.at);
    }
  }
  return lands;
}

void SortHits(const HeldFile& drill, const geometry::PointSet& lands, int copperLayers, BoardFacts& facts) {
  facts.platedHits.clear();
  facts.platedHits.reserve(drill.through.size());
  for (const HeldOp& op : drill.ops) {
    if (op.ordinal == 0) continue;
    const bool plated = copperLayers >= 2 && lands.Contains(op.at);
    facts.platedHits.push_back(plated);
    (plated ? facts.platedTools : facts.unplatedTools).insert(op.code);
  }
}

void WalkLayers(std::span<const WalkedLayer> layers, const Settings& settings, const BoardFacts& facts,
                const HeldFiles* held, SourceFiles& sources) {
  // Each layer's next source. A file read from the disk for one layer feeds every later
  // layer whose next source it is too, so that each is read once where the layers
  // allow it; a held file is replayed for each layer in its turn, which keeps what
  // layers share (the check's holes) in their order.
  std::vector<std::size_t> next(layers.size(), 0);
  std::vector<Target> targets;
  std::vector<std::size_t> fed;
  const auto advance = [&](std::size_t n) {
    if (++next[n] == layers[n].layer->sources.size()) layers[n].sink->End();
  };
  for (std::size_t n = 0; n < layers.size(); ++n) {
    const std::vector<Source>& own = layers[n].layer->sources;
    if (own.empty()) layers[n].sink->End();
    while (next[n] < own.size()) {
      const Source& source = own[next[n]];
      const Output file = source.file;
      targets.clear();
      fed.clear();
      const HeldFile* replayed = HeldFor(held, source);
      if (replayed != nullptr) {
        targets.push_back({&source, layers[n].sink});
        fed.push_back(n);
      } else {
        for (std::size_t m = n; m < layers.size(); ++m) {
          const std::vector<Source>& theirs = layers[m].layer->sources;
          if (next[m] >= theirs.size() || theirs[next[m]].file != file || HeldFor(held, theirs[next[m]]) != nullptr) {
            continue;
          }
          targets.push_back({&theirs[next[m]], layers[m].sink});
          fed.push_back(m);
        }
      }
      Fan fan(file, settings, facts, sources.Name(file), targets);
      if (replayed != nullptr) {
        Replay(*replayed, file, fan);
      } else if (file == Output::Drill) {
        ReadDrill(sources, fan);
      } else {
        ReadGerber(file, sources, fan);
      }
      for (const std::size_t m : fed) advance(m);
    }
  }
}

void WalkLayer(const FabLayer& layer, const Settings& settings, const BoardFacts& facts,
               SourceFiles& sources, FeatureSink& sink) {
  OneLayer one(sink);
  const WalkedLayer walked[] = {{&layer, &one}};
  WalkLayers(walked, settings, facts, nullptr, sources);
}

LayerFeatures CollectLayer(const FabLayer& layer, const Settings& settings,
                           const BoardFacts& facts, SourceFiles& sources) {
  LayerFeatures features;
  Collector collector(features);
  WalkLayer(layer, settings, facts, sources, collector);
  return features;
}

}  // namespace velmorta::fab
