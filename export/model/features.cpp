#include "export/model/features.hpp"

#include <algorithm>

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

void WalkGerber(const Source& source, const Settings& settings, const BoardFacts& facts, SourceFiles& sources,
                FeatureSink& sink) {
  const std::unique_ptr<TextScan> scan = sources.Open(source.file);
  GerberReader reader(*scan, source.file);
  CodeSizes sizes(settings, source.file, sources.Name(source.file));
  const CodeSize* size = nullptr;
  std::int32_t code = 0;
  geometry::Point at;
  Feature feature;
  feature.file = source.file;
  const std::vector<bool>* vias = source.file == Output::Lands1   ? &facts.viaPads[0]
                                  : source.file == Output::Lands2 ? &facts.viaPads[1]
                                                                  : nullptr;
  std::size_t flashes = 0;
  std::uint32_t ordinal = 0;
  for (GerberOp op; reader.Next(op);) {
    const geometry::Point to{op.x, op.y};
    if (op.kind == GerberOpKind::Draw || op.kind == GerberOpKind::Flash) feature.ordinal = ++ordinal;
    switch (op.kind) {
      case GerberOpKind::Select:
        code = op.code;
        size = &sizes.Of(code);
        break;
      case GerberOpKind::Draw:
        if (source.take == Take::Everything) {
          // Reading the file made sure that nothing is drawn before a selection.
          feature.kind = FeatureKind::Stroke;
          feature.stroke = {at, to, size->micrometres + source.grow};
          feature.function = source.function;
          feature.code = code;
          feature.size = *size;
          feature.offset = op.offset;
          sink.Add(feature);
        }
        break;
      case GerberOpKind::Flash: {
        feature.kind = FeatureKind::Flash;
        feature.disc = {to, size->micrometres + source.grow};
        const bool via = vias != nullptr && flashes < vias->size() && (*vias)[flashes];
        ++flashes;
        feature.function = source.function == AperFunction::ComponentPad && via ? AperFunction::ViaPad : source.function;
        feature.code = code;
        feature.size = *size;
        feature.offset = op.offset;
        sink.Add(feature);
        break;
      }
      case GerberOpKind::Linear:
      case GerberOpKind::Move:
      case GerberOpKind::End: break;
    }
    if (op.kind == GerberOpKind::Move || op.kind == GerberOpKind::Draw || op.kind == GerberOpKind::Flash) at = to;
  }
}

void WalkDrill(const Source& source, const Settings& settings, const BoardFacts& facts, SourceFiles& sources,
               FeatureSink& sink) {
  const std::unique_ptr<TextScan> scan = sources.Open(source.file);
  DrillReader reader(*scan);
  CodeSizes sizes(settings, source.file, sources.Name(source.file));
  const CodeSize* size = nullptr;
  Feature feature;
  feature.file = source.file;
  feature.kind = FeatureKind::Hit;
  feature.function = source.function;
  std::size_t hits = 0;
  for (DrillOp op; reader.Next(op);) {
    if (op.kind == DrillOpKind::Select) {
      size = &sizes.Of(op.tool);
      feature.code = op.tool;
      feature.size = *size;
    }
    if (op.kind != DrillOpKind::Hit) continue;
    const geometry::Point at{op.x, op.y};
    const bool plated = hits < facts.platedHits.size() && facts.platedHits[hits];
    ++hits;
    feature.ordinal = static_cast<std::uint32_t>(hits);
    if (source.take == Take::PlatedHits || source.take == Take::UnplatedHits) {
      if (plated != (source.take == Take::PlatedHits)) continue;
    }
    feature.disc = {at, size->micrometres + source.grow};
    feature.offset = op.offset;
    feature.through = op.through;
    sink.Add(feature);
  }
}

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

std::uint64_t DiskSources::CoordinateBlocks(Output file) {
  int error = 0;
  const FileHandle read = OpenForReading(Name(file), error);
  if (!read) return 0;
  std::uint64_t blocks = 0;
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, read.get())) > 0;) {
    blocks += static_cast<std::uint64_t>(std::count(buffer, buffer + n, 'X'));
  }
  return blocks;
}

std::uint64_t TextSources::CoordinateBlocks(Output file) {
  const std::string& text = texts_[IndexOf(file)];
  return static_cast<std::uint64_t>(std::count(text.begin(), text.end(), 'X'));
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

void SurveyLands(SourceFiles& sources, BoardFacts& facts) {
  {
    const std::unique_ptr<TextScan> scan = sources.Open(Output::Drill);
    DrillReader reader(*scan);
    for (DrillOp op; reader.Next(op);) {
      if (op.kind == DrillOpKind::Hit && op.through) facts.throughHoles.Add({op.x, op.y});
    }
  }
  for (const Output file : {Output::Lands1, Output::Lands2}) {
    const std::unique_ptr<TextScan> scan = sources.Open(file);
    GerberReader reader(*scan, file);
    std::vector<bool>& vias = facts.viaPads[file == Output::Lands1 ? 0 : 1];
    for (GerberOp op; reader.Next(op);) {
      if (op.kind != GerberOpKind::Flash) continue;
      facts.lands.Add({op.x, op.y});
      facts.landExtents.Add(geometry::Point{op.x, op.y});
      vias.push_back(facts.throughHoles.Contains({op.x, op.y}));
      if (file == Output::Lands2) facts.secondSideLands = true;
    }
  }
}

void SurveyDrill(SourceFiles& sources, int copperLayers, BoardFacts& facts) {
  const std::unique_ptr<TextScan> scan = sources.Open(Output::Drill);
  DrillReader reader(*scan);
  for (DrillOp op; reader.Next(op);) {
    if (op.kind != DrillOpKind::Hit) continue;
    const bool plated = copperLayers >= 2 && facts.lands.Contains({op.x, op.y});
    facts.platedHits.push_back(plated);
    (plated ? facts.platedTools : facts.unplatedTools).insert(op.tool);
  }
}

void WalkLayer(const FabLayer& layer, const Settings& settings, const BoardFacts& facts,
               SourceFiles& sources, FeatureSink& sink) {
  for (const Source& source : layer.sources) {
    if (source.file == Output::Drill) {
      WalkDrill(source, settings, facts, sources, sink);
    } else {
      WalkGerber(source, settings, facts, sources, sink);
    }
  }
}

LayerFeatures CollectLayer(const FabLayer& layer, const Settings& settings,
                           const BoardFacts& facts, SourceFiles& sources) {
  LayerFeatures features;
  Collector collector(features);
  WalkLayer(layer, settings, facts, sources, collector);
  return features;
}

}  // namespace velmorta::fab
