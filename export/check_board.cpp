#include "export/check_board.hpp"

#include <algorithm>
#include <array>
#include <limits>
#include <span>

#include "base/large_memory.hpp"
#include "check/report.hpp"
#include "check/run_check.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

// Sizes grown by a mask expansion are 64-bit; no size the check reads comes near 2^31.
std::int32_t Size(std::int64_t micrometres) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(micrometres, 0, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

CheckBoardFiller::Target CheckBoardFiller::TargetOf(const FabLayer& layer) const {
  switch (layer.function) {
    case FileFunction::Copper:
      return {List::Copper, board_.doubleSided && layer.side == Side::Top ? check::Side::Top : check::Side::Bottom};
    case FileFunction::Plated:
    case FileFunction::NonPlated: return {List::Holes, check::Side::Bottom, layer.function == FileFunction::Plated};
    case FileFunction::Profile: return {List::Outline};
    case FileFunction::Legend: return {List::Links};  // the only legend: a single-sided board's jumpers
    case FileFunction::Soldermask:
    case FileFunction::Drillmap: break;
  }
  return {};
}

CheckBoardFiller::CheckBoardFiller(const LayerModel& model, const BoardFacts& facts, const SourceFiles& sources) {
  board_.doubleSided = model.copperLayers == 2;
  std::array<std::uint64_t, 2> copper{};
  std::uint64_t outline = 0, links = 0;
  for (const FabLayer& layer : model.layers) {
    const Target target = TargetOf(layer);
    for (const Source& source : layer.sources) {
      const bool lands = source.take == Take::Flashes && TraitsOf(source.file).content == Content::Lands;
      const std::uint64_t bound = lands ? facts.viaPads[source.file == Output::Lands1 ? 0 : 1].size()
                                        : target.list == List::Nothing || target.list == List::Holes
                                            ? 0
                                            : sources.Bytes(source.file) / kLeastBlockBytes;
      if (target.list == List::Copper) copper[static_cast<std::size_t>(target.side)] += bound;
      if (target.list == List::Outline) outline += bound;
      if (target.list == List::Links) links += bound;
    }
  }
  for (const check::Side side : {check::Side::Bottom, check::Side::Top}) {
    ReserveLarge(board_[side], copper[static_cast<std::size_t>(side)]);
  }
  ReserveLarge(board_.holes, facts.platedHits.size());  // every hit, plated or not
  ReserveLarge(board_.outline, outline);
  ReserveLarge(board_.links, links);
}

FeatureSink* CheckBoardFiller::Into(const FabLayer& layer) {
  const Target target = TargetOf(layer);
  if (target.list == List::Copper && !board_.doubleSided) onlyCopperOnTop_ = layer.side == Side::Top;
  if (target.list == List::Nothing) return nullptr;
  return &targets_.emplace_back(*this, target);
}

void CheckBoardFiller::Put(const Target& target, const Feature& feature) {
  const bool stroke = feature.kind == FeatureKind::Stroke;
  const geometry::Segment line{feature.stroke.from, feature.stroke.to};
  switch (target.list) {
    case List::Copper:
      if (stroke) {
        board_[target.side].push_back({line.a, line.b, Size(feature.stroke.width), true, check::Role::Conductor,
                                       feature.origin()});
      } else {
        // A flash of a land file is a land, to be drilled; any other is copper alone.
        const bool land = TraitsOf(feature.file).content == Content::Lands;
        const geometry::Point at = feature.disc.centre;
        board_[target.side].push_back({at, at, Size(feature.disc.diameter), false,
                                       land ? check::Role::Land : check::Role::Conductor, feature.origin()});
      }
      break;
    case List::Holes:
      if (!stroke) {
        board_.holes.push_back({feature.disc.centre, Size(feature.disc.diameter), target.plated, feature.origin()});
      }
      break;
    case List::Outline:
      if (stroke) board_.outline.push_back({line, Size(feature.stroke.width), feature.origin()});
      break;
    case List::Links:
      if (stroke) board_.links.push_back({line, feature.origin()});
      break;
    case List::Nothing: break;
  }
}

check::CheckResult CheckBoardFiller::Check(std::optional<check::PadFrame> frame, const check::Limits& limits,
                                           Language language, check::FoundGroups* groups) {
  board_.frame = frame;
  check::CheckResult result;
  try {
    result = check::RunCheck(std::move(board_), limits, check::Search::Indexed, language, groups);
  } catch (const check::CheckError& error) {
    const Part::Told reason = [key = error.reason, count = std::to_string(error.count)](Language told) {
      return Say(told, key, {{"count", count}});
    };
    throw ExportError(Text::CheckNotDone, {{"reason", reason}});
  }
  if (onlyCopperOnTop_) {
    for (check::Finding& f : result.findings) {
      if (f.layer == check::Layer::Bottom) f.layer = check::Layer::Top;
    }
    std::sort(result.findings.begin(), result.findings.end(), check::ReportOrder);
  }
  return result;
}

std::vector<check::OriginGroup> CheckBoardFiller::Groups(const check::Limits& limits) {
  return check::ConnectedGroups(std::move(board_), limits);
}

PreviewCheck MarksOf(const check::CheckResult& result, Language language) {
  const std::string summary = check::Summary(result, language);
  PreviewCheck marks{summary.substr(0, summary.find('\n')), {}};
  const std::span<const check::Finding> listed =
      std::span(result.findings).first(std::min(result.findings.size(), check::kMostListed));
  marks.marks.reserve(listed.size());
  for (const check::Finding& f : listed) {
    const check::KindTraits& traits = check::TraitsOf(f.kind);
    const std::string measure = traits.measured ? ": " + check::MeasureText(f) + " mm" : "";
    const std::string where =
        result.frame ? Say(language, Text::MarkAtPad,
                           {{"x", check::PadText(check::PadX(*result.frame, f.at.x))},
                            {"y", check::PadText(check::PadY(*result.frame, f.at.y))}})
                     : Say(language, Text::MarkAt, {{"x", check::MmText(f.at.x)}, {"y", check::MmText(f.at.y)}});
    const Text severity = traits.severity == check::Severity::Error ? Text::SeverityError : Text::SeverityWarning;
    std::string title = Say(language, Text::MarkTitle, {{"kind", std::string(traits.name)},
                                                        {"severity", Say(language, severity)},
                                                        {"measure", measure},
                                                        {"where", where}});
    std::optional<Side> side;
    if (f.layer != check::Layer::Drill) side = f.layer == check::Layer::Top ? Side::Top : Side::Bottom;
    marks.marks.push_back({f.at, side, std::move(title)});
  }
  return marks;
}

}  // namespace velmorta::fab
