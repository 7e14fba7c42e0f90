#include "export/write/svg_preview.hpp"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <vector>

#include "base/files.hpp"
#include "base/text_encoding.hpp"
#include "export/model/decimal.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

std::string N(std::int64_t v) { return std::to_string(v); }

// The colours of a board as it comes from the house.
constexpr std::string_view kMask = "#1d5c34";         // solder mask over bare laminate
constexpr std::string_view kCopperUnder = "#3f8a4f";  // copper under the mask
constexpr std::string_view kLaminate = "#b59a62";     // laminate in a mask opening
constexpr std::string_view kBared = "#d8ab45";        // copper in a mask opening
constexpr std::string_view kLegend = "#f4f4f4";
constexpr std::string_view kHole = "#000000";
constexpr std::string_view kPlatedHole = "#3a3226";  // the barrel's shadow
constexpr std::string_view kProfile = "#e8e070";
constexpr std::string_view kFinding = "#e4002b";  // the board check's marks

struct Paint {
  std::string_view colour;
};

Paint PaintOf(const FabLayer& layer) {
  switch (layer.function) {
    case FileFunction::Copper: return {kCopperUnder};
    case FileFunction::Soldermask: return {kLaminate};
    case FileFunction::Legend: return {kLegend};
    case FileFunction::Profile: return {kProfile};
    case FileFunction::Plated: return {kPlatedHole};
    case FileFunction::NonPlated:
    case FileFunction::Drillmap: break;
  }
  return {kHole};
}

void Put(OutFile& out, std::string_view text) { out.Put(text); }

// One <use> of a layer's group, classed by the layer so that its legend entry finds it.
std::string Use(const FabLayer& layer, const Paint& paint, std::string_view extra = {}) {
  return "<use xlink:href=\"#" + layer.id + "\" class=\"L-" + layer.id + "\" stroke=\"" +
         std::string(paint.colour) + "\"" + std::string(extra) + "/>\n";
}

void AppendCodePoint(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

bool InPreview(const FabLayer& layer) { return layer.function != FileFunction::Drillmap; }

std::string XmlText(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::uint32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
      c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    i += length;
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        if ((c < 0x20 && c != '\t') || c == 0xFFFE || c == 0xFFFF) c = 0xFFFD;
        AppendCodePoint(out, c);
    }
  }
  return out;
}

std::string BoardSizeText(const geometry::Extents& board) {
  return FormatDecimal(board.Width(), 3) + " \xC3\x97 " + FormatDecimal(board.Height(), 3) + " mm";
}

void PreviewBody::Begin(const FabLayer& layer) {
  holes_ = layer.IsDrill();
  // Every feature is a stroke with round ends, in the colour of the <use> that shows it;
  // a grid's cells are squares.
  out_.Put("<g id=\"" + layer.id + "\" fill=\"none\" stroke-linecap=\"" + (grid_.cell > 0 ? "square" : "round") +
           "\">\n");
}

void PreviewBody::ClosePath() {
  if (width_ >= 0) out_.Put("\"/>\n");
  width_ = -1;
}

void PreviewBody::Path(std::int64_t width, std::string_view piece) {
  // Paths of a few kilobytes: long enough to share their attributes, short enough for
  // every renderer.
  constexpr std::size_t kPathLength = 4096;
  if (width != width_ || pathLength_ > kPathLength) {
    ClosePath();
    out_.Put("<path stroke-width=\"");
    char number[24];
    out_.Put(std::string_view(number, static_cast<std::size_t>(std::to_chars(number, number + 24, width).ptr - number)));
    out_.Put("\" d=\"");
    width_ = width;
    pathLength_ = 0;
  }
  pathLength_ += piece.size();
  out_.Put(piece);
}

void PreviewBody::Add(const Feature& feature) {
  if (grid_.cell > 0) return MarkFeature(feature);
  char line[160];
  char* at = line;
  auto text = [&at](std::string_view piece) {
    for (const char c : piece) *at++ = c;
  };
  auto number = [&at](std::int64_t value) { at = std::to_chars(at, at + 24, value).ptr; };
  if (feature.kind == FeatureKind::Stroke) {
    const geometry::Capsule& s = feature.stroke;
    text("M");
    number(s.from.x);
    text(" ");
    number(-std::int64_t{s.from.y});
    text("L");
    number(s.to.x);
    text(" ");
    number(-std::int64_t{s.to.y});
  } else {
    text("M");
    number(feature.disc.centre.x);
    text(" ");
    number(-std::int64_t{feature.disc.centre.y});
    text("l0 0");
  }
  Path(feature.Diameter(), std::string_view(line, static_cast<std::size_t>(at - line)));
}

namespace {

// A cell's row above its column, each offset to be unsigned, so that keys sort in rows.
std::uint64_t CellKey(std::int64_t column, std::int64_t row) {
  const auto biased = [](std::int64_t v) { return static_cast<std::uint64_t>(v + (std::int64_t{1} << 31)) & 0xFFFFFFFF; };
  return biased(row) << 32 | biased(column);
}
std::int64_t CellRow(std::uint64_t key) { return static_cast<std::int64_t>(key >> 32) - (std::int64_t{1} << 31); }
std::int64_t CellColumn(std::uint64_t key) { return static_cast<std::int64_t>(key & 0xFFFFFFFF) - (std::int64_t{1} << 31); }

std::int64_t FloorDiv(std::int64_t v, std::int64_t d) { return v >= 0 ? v / d : -((-v + d - 1) / d); }

}  // namespace

void PreviewBody::Mark(std::int64_t x, std::int64_t y) {
  // Neighbouring samples mostly share their cell: one look-up for the run, and no
  // division.
  const std::int64_t cell = grid_.cell;
  if (lastCell_ && x - lastCell_->x >= 0 && x - lastCell_->x < cell && y - lastCell_->y >= 0 &&
      y - lastCell_->y < cell) {
    return;
  }
  if (cells_.size() >= grid_.cellsPerLayer) return;
  const std::int64_t column = FloorDiv(x, cell), row = FloorDiv(y, cell);
  cells_.insert(CellKey(column, row));
  lastCell_ = Corner{column * cell, row * cell};
}

void PreviewBody::MarkFeature(const Feature& feature) {
  // A stroke's cells sampled every half cell along it (at most a few thousand: a stroke
  // across the whole board); a disc's, those of the square round it.
  constexpr std::int64_t kMostSamples = 4096;
  const std::int64_t cell = grid_.cell;
  widest_ = std::max(widest_, feature.Diameter());
  narrowest_ = std::min(narrowest_, feature.Diameter());
  if (feature.kind == FeatureKind::Stroke) {
    const geometry::Point from = feature.stroke.from, to = feature.stroke.to;
    const std::int64_t dx = std::int64_t{to.x} - from.x, dy = std::int64_t{to.y} - from.y;
    const std::int64_t steps = std::min(std::max(std::abs(dx), std::abs(dy)) * 2 / cell + 1, kMostSamples);
    if (steps == 1) {  // most strokes: their ends
      Mark(from.x, from.y);
      return Mark(to.x, to.y);
    }
    for (std::int64_t i = 0; i <= steps; ++i) Mark(from.x + dx * i / steps, from.y + dy * i / steps);
    return;
  }
  const std::int64_t r = std::min(feature.disc.diameter / 2, 32 * cell);
  const geometry::Point c = feature.disc.centre;
  for (std::int64_t y = c.y - r; y < c.y + r + cell; y += cell) {
    for (std::int64_t x = c.x - r; x < c.x + r + cell; x += cell) Mark(std::min(x, c.x + r), std::min(y, c.y + r));
  }
}

void PreviewBody::WriteCells() {
  // Each row's runs of neighbouring cells as one line through their centres, no wider
  // than the layer's widest feature, holes as wide as the narrowest: a few large holes
  // among many small ones would otherwise cover the board.
  std::vector<std::uint64_t> keys(cells_.begin(), cells_.end());
  cells_.clear();
  lastCell_.reset();
  const std::int64_t width = std::clamp(holes_ ? narrowest_ : widest_, std::int64_t{1}, grid_.cell);
  widest_ = 0;
  narrowest_ = INT64_MAX;
  std::sort(keys.begin(), keys.end());
  const std::int64_t cell = grid_.cell;
  for (std::size_t i = 0; i < keys.size();) {
    std::size_t last = i;
    while (last + 1 < keys.size() && keys[last + 1] == keys[last] + 1 && CellRow(keys[last + 1]) == CellRow(keys[i])) {
      ++last;
    }
    char line[80];
    char* at = line;
    const auto number = [&at](std::int64_t value) { at = std::to_chars(at, at + 24, value).ptr; };
    *at++ = 'M';
    number(CellColumn(keys[i]) * cell + cell / 2);
    *at++ = ' ';
    number(-(CellRow(keys[i]) * cell + cell / 2));
    *at++ = 'h';
    number(static_cast<std::int64_t>(last - i) * cell);
    Path(width, std::string_view(line, static_cast<std::size_t>(at - line)));
    i = last + 1;
  }
}

void PreviewBody::End() {
  if (grid_.cell > 0) WriteCells();
  ClosePath();
  out_.Put("</g>\n");
}

PreviewGroups::Group::Group(PreviewGroups& groups, const FabLayer& layer, bool direct)
    : groups_(groups), direct_(direct), out_(OutFile::InMemory(*this)), body_(out_, groups.grid_) {
  body_.Begin(layer);
}

void PreviewGroups::Group::Write(std::string_view bytes) {
  if (direct_) {
    groups_.out_.PutWritten(bytes);
  } else {
    kept_.append(bytes);
  }
}

void PreviewGroups::Group::End() {
  body_.End();
  out_.Close();  // its last bytes to Write
  ended_ = true;
  groups_.WriteEnded();
}

PreviewGroups::Group& PreviewGroups::Open(const FabLayer& layer) {
  return groups_.emplace_back(*this, layer, head_ == groups_.size());
}

void PreviewGroups::WriteEnded() {
  while (head_ < groups_.size() && groups_[head_].ended_) {
    if (++head_ == groups_.size()) break;
    Group& next = groups_[head_];
    out_.PutWritten(next.kept_);
    std::string().swap(next.kept_);
    next.direct_ = true;
  }
}

namespace {

// The fields of the first line, which the end of the preview fills in: numbers padded
// with leading zeros to a fixed width, which SVG reads as the same numbers.
constexpr std::size_t kField = 16;

std::string Padded(std::string number) {
  const std::size_t at = number[0] == '-' ? 1 : 0;
  if (number.size() < kField) number.insert(at, kField - number.size(), '0');
  return number;
}

std::string RootElement(const std::string& width, const std::string& height, const std::string& left,
                        const std::string& top, const std::string& viewWidth, const std::string& viewHeight) {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" + width +
         "mm\" height=\"" + height + "mm\" viewBox=\"" + left + " " + top + " " + viewWidth + " " + viewHeight +
         "\">";
}

}  // namespace

void WritePreviewStart(OutFile& out, std::string_view title) {
  Put(out, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
  const std::string zero = Padded("0");
  Put(out, RootElement(zero, zero, zero, zero, zero, zero) + "\n");
  Put(out, "<title>" + XmlText(title) + "</title>\n");
  Put(out, "<defs>\n");
}

namespace {

// Where everything of the end goes, in SVG coordinates (y down), 0.001 mm.
struct Layout {
  geometry::Extents ink, board;
  std::int64_t pad = 0, viewWidth = 0, left = 0, top = 0, lineHeight = 0, font = 0, band = 0;
  std::int64_t legendLeft = 0, width = 0, height = 0, ring = 0;
};

Layout LayoutOf(const PreviewFrame& frame, std::size_t keys) {
  Layout l;
  l.ink = frame.ink;
  if (l.ink.empty) l.ink = geometry::Extents{false, 0, 0, 10000, 10000};
  l.board = frame.board.empty ? l.ink : frame.board;
  const std::int64_t span = std::max(l.ink.Width(), l.ink.Height());
  l.pad = span / 25 + 500;
  l.viewWidth = l.ink.Width() + 2 * l.pad;
  l.left = l.ink.minX - l.pad;
  l.top = -(l.ink.maxY + l.pad);
  l.lineHeight = std::max<std::int64_t>(span / 18, 600);
  l.font = l.lineHeight * 7 / 10;
  l.band = 2 * l.lineHeight;  // the titles above the views
  l.legendLeft = l.left + 2 * l.viewWidth;
  const std::int64_t legendWidth = l.font * 28;
  l.height = std::max(l.ink.Height() + 2 * l.pad, l.lineHeight * static_cast<std::int64_t>(keys + 3)) + l.band;
  l.ring = l.lineHeight;  // a mark's radius: as large as a legend line on any board
  l.width = 2 * l.viewWidth + legendWidth;
  return l;
}

// The mask openings, which bare the copper under them, and the white page.
void WriteMasksAndPage(OutFile& out, const std::vector<const FabLayer*>& shown, const Layout& l) {
  for (const FabLayer* layer : shown) {
    if (layer->function != FileFunction::Soldermask) continue;
    Put(out, "<mask id=\"bared-" + layer->id + "\" maskUnits=\"userSpaceOnUse\" x=\"" + N(l.ink.minX) + "\" y=\"" +
                 N(-l.ink.maxY) + "\" width=\"" + N(l.ink.Width()) + "\" height=\"" + N(l.ink.Height()) + "\">" +
                 "<use xlink:href=\"#" + layer->id + "\" stroke=\"#fff\"/></mask>\n");
  }
  Put(out, "</defs>\n");
  Put(out, "<rect x=\"" + N(l.left) + "\" y=\"" + N(l.top - l.band) + "\" width=\"" + N(l.width) + "\" height=\"" +
               N(l.height) + "\" fill=\"#ffffff\"/>\n");
}

// The board's side as a house builds it: mask, copper, bared copper, legend, holes and
// outline, then the check's marks.
void WriteViewLayers(OutFile& out, const std::vector<const FabLayer*>& shown, Side side) {
  const FabLayer* copper = nullptr;
  for (const FabLayer* layer : shown) {
    if (layer->function == FileFunction::Copper && layer->side == side) {
      copper = layer;
      Put(out, Use(*layer, PaintOf(*layer)));
    }
  }
  for (const FabLayer* layer : shown) {
    if (layer->function != FileFunction::Soldermask || layer->side != side) continue;
    Put(out, Use(*layer, PaintOf(*layer)));
    if (copper != nullptr) Put(out, Use(*copper, {kBared}, " mask=\"url(#bared-" + layer->id + ")\""));
  }
  for (const FabLayer* layer : shown) {
    const bool sided = layer->function == FileFunction::Legend;
    const bool everywhere = layer->IsDrill() || layer->function == FileFunction::Profile;
    if ((sided && layer->side == side) || everywhere) Put(out, Use(*layer, PaintOf(*layer)));
  }
}

void WriteMarks(OutFile& out, const PreviewCheck& check, Side side, const Layout& l) {
  if (check.marks.empty()) return;
  Put(out, "<g class=\"L-check\" fill=\"" + std::string(kFinding) + "\" fill-opacity=\"0.12\" stroke=\"" +
               std::string(kFinding) + "\" stroke-width=\"" + N(l.ring / 6) + "\">\n");
  for (const PreviewMark& mark : check.marks) {
    if (mark.side && *mark.side != side) continue;
    Put(out, "<circle cx=\"" + N(mark.at.x) + "\" cy=\"" + N(-std::int64_t{mark.at.y}) + "\" r=\"" + N(l.ring) +
                 "\"><title>" + XmlText(mark.title) + "</title></circle>\n");
  }
  Put(out, "</g>\n");
}

void WriteView(OutFile& out, const std::vector<const FabLayer*>& shown, const PreviewFrame& frame, Side side,
               const Layout& l) {
  const bool bottom = side == Side::Bottom;
  const std::int64_t viewLeft = l.left + (bottom ? l.viewWidth : 0);
  Put(out, "<text x=\"" + N(viewLeft + l.pad) + "\" y=\"" + N(l.top - l.band / 3) + "\">" +
               Say(frame.language, bottom ? Text::PreviewBottomView : Text::PreviewTopView) + "</text>\n");
  // Seen from below, left and right change places: x becomes mirror - x.
  const std::int64_t mirror = viewLeft + l.viewWidth - l.pad + l.ink.minX;
  Put(out, std::string("<g id=\"") + (bottom ? "bottom-view" : "top-view") + "\"" +
               (bottom ? " transform=\"translate(" + N(mirror) + " 0) scale(-1 1)\"" : "") + ">\n");
  Put(out, "<rect x=\"" + N(l.board.minX) + "\" y=\"" + N(-l.board.maxY) + "\" width=\"" + N(l.board.Width()) +
               "\" height=\"" + N(l.board.Height()) + "\" fill=\"" + std::string(kMask) + "\"/>\n");
  WriteViewLayers(out, shown, side);
  if (frame.check) WriteMarks(out, *frame.check, side, l);
  Put(out, "</g>\n");
}

// A layer's name in the legend: its role as the layer model says it, in English.
std::string RoleText(const FabLayer& layer, Language language) {
  if (language == Language::English) return layer.role;
  const std::string side = Say(language, layer.side == Side::Top ? Text::LayerTop : Text::LayerBottom);
  switch (layer.function) {
    case FileFunction::Copper: return Say(language, Text::PreviewCopper, {{"side", side}});
    case FileFunction::Soldermask: return Say(language, Text::PreviewMask, {{"side", side}});
    case FileFunction::Legend: return Say(language, Text::PreviewJumpers, {{"side", side}});
    case FileFunction::Profile: return Say(language, Text::PreviewProfile);
    case FileFunction::Plated: return Say(language, Text::PreviewPlated);
    case FileFunction::NonPlated: return Say(language, Text::PreviewUnplated);
    case FileFunction::Drillmap: break;
  }
  return Say(language, Text::PreviewDrillMap);
}

// The title, the size, whether the layers are simplified, and one key per layer.
void WriteLegend(OutFile& out, const std::vector<const FabLayer*>& shown, const PreviewFrame& frame,
                 const Layout& l) {
  const std::int64_t font = l.font;
  std::int64_t baseline = l.top + l.lineHeight;
  Put(out, "<text x=\"" + N(l.legendLeft) + "\" y=\"" + N(baseline) + "\" font-weight=\"bold\">" +
               XmlText(frame.title) + "</text>\n");
  baseline += l.lineHeight;
  Put(out, "<text x=\"" + N(l.legendLeft) + "\" y=\"" + N(baseline) + "\">" + XmlText(BoardSizeText(l.board)) +
               "</text>\n");
  if (frame.grid > 0) {
    baseline += l.lineHeight;
    Put(out, "<text x=\"" + N(l.legendLeft) + "\" y=\"" + N(baseline) + "\">" +
                 Say(frame.language, Text::PreviewSimplified, {{"grid", FormatDecimal(frame.grid, 3)}}) + "</text>\n");
  }
  for (const FabLayer* layer : shown) {
    baseline += l.lineHeight;
    const Paint paint = PaintOf(*layer);
    Put(out, "<g class=\"key\" onclick=\"toggle('" + layer->id + "', this)\">");
    Put(out, "<rect x=\"" + N(l.legendLeft) + "\" y=\"" + N(baseline - font) + "\" width=\"" + N(font) +
                 "\" height=\"" + N(font) + "\" fill=\"" + std::string(paint.colour) +
                 "\" stroke=\"#222\" stroke-width=\"" + N(font / 10 + 1) + "\"/>");
    Put(out, "<text x=\"" + N(l.legendLeft + font * 3 / 2) + "\" y=\"" + N(baseline) + "\">" + XmlText(RoleText(*layer, frame.language)) + " (" + XmlText(SystemTextToUtf8(layer->name)) +
                 ")</text></g>\n");
  }
  if (!frame.check) return;
  baseline += l.lineHeight;
  Put(out, "<g class=\"key\" onclick=\"toggle('check', this)\">");
  Put(out, "<circle cx=\"" + N(l.legendLeft + font / 2) + "\" cy=\"" + N(baseline - font / 2) + "\" r=\"" +
               N(font * 2 / 5) + "\" fill=\"none\" stroke=\"" + std::string(kFinding) + "\" stroke-width=\"" +
               N(font / 8 + 1) + "\"/>");
  Put(out, "<text x=\"" + N(l.legendLeft + font * 3 / 2) + "\" y=\"" + N(baseline) + "\">" +
               XmlText(frame.check->key) + "</text></g>\n");
}

// The legend's keys switch their layers off and on.
void WriteStyleAndScript(OutFile& out, const Layout& l) {
  Put(out, "<style>\n"
           ".off { display: none }\n"
           ".key { cursor: pointer }\n"
           ".key.hidden { opacity: 0.35 }\n"
           "text { font-family: sans-serif; font-size: " + N(l.font) + "px; fill: #222 }\n"
           "</style>\n");
  Put(out, "<script><![CDATA[\n"
           "function toggle(id, key) {\n"
           "  var off = key.classList.toggle('hidden');\n"
           "  document.querySelectorAll('.L-' + id).forEach(function (e) { e.classList.toggle('off', off); });\n"
           "}\n"
           "]]></script>\n");
}

}  // namespace

std::string WritePreviewEnd(OutFile& out, const std::vector<const FabLayer*>& layers, const PreviewFrame& frame) {
  std::vector<const FabLayer*> shown;
  for (const FabLayer* layer : layers) {
    if (InPreview(*layer)) shown.push_back(layer);
  }
  const std::size_t keys = shown.size() + (frame.check ? 1 : 0) + (frame.grid > 0 ? 1 : 0);
  const Layout l = LayoutOf(frame, keys);
  WriteMasksAndPage(out, shown, l);
  for (const Side side : {Side::Top, Side::Bottom}) WriteView(out, shown, frame, side, l);
  WriteLegend(out, shown, frame, l);
  WriteStyleAndScript(out, l);
  Put(out, "</svg>\n");
  return RootElement(Padded(FormatDecimal(l.width, 3)), Padded(FormatDecimal(l.height, 3)), Padded(N(l.left)),
                     Padded(N(l.top - l.band)), Padded(N(l.width)), Padded(N(l.height)));
}

}  // namespace velmorta::fab
