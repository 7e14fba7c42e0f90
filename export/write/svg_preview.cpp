#include "export/write/svg_preview.hpp"

#include <algorithm>
#include <charconv>
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
  // Every feature is a stroke with round ends, in the colour of the <use> that shows it.
  out_.Put("<g id=\"" + layer.id + "\" fill=\"none\" stroke-linecap=\"round\">\n");
}

void PreviewBody::ClosePath() {
  if (width_ >= 0) out_.Put("\"/>\n");
  width_ = -1;
}

void PreviewBody::Add(const Feature& feature) {
  // Paths of a few kilobytes: long enough to share their attributes, short enough for
  // every renderer.
  constexpr std::size_t kPathLength = 4096;
  const std::int64_t width = feature.Diameter();
  char line[160];
  char* at = line;
  auto text = [&at](std::string_view piece) {
    for (const char c : piece) *at++ = c;
  };
  auto number = [&at](std::int64_t value) { at = std::to_chars(at, at + 24, value).ptr; };
  if (width != width_ || pathLength_ > kPathLength) {
    ClosePath();
    text("<path stroke-width=\"");
    number(width);
    text("\" d=\"");
    width_ = width;
    pathLength_ = 0;
  }
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
  const auto length = static_cast<std::size_t>(at - line);
  pathLength_ += length;
  out_.Put(std::string_view(line, length));
}

void PreviewBody::End() {
  ClosePath();
  out_.Put("</g>\n");
}

namespace {

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

std::string WritePreviewEnd(OutFile& out, const std::vector<const FabLayer*>& layers, const PreviewFrame& frame) {
  geometry::Extents ink = frame.ink;
  if (ink.empty) ink = geometry::Extents{false, 0, 0, 10000, 10000};
  const geometry::Extents board = frame.board.empty ? ink : frame.board;
  const std::int64_t span = std::max(ink.Width(), ink.Height());
  const std::int64_t pad = span / 25 + 500;
  const std::int64_t viewWidth = ink.Width() + 2 * pad;
  const std::int64_t left = ink.minX - pad, top = -(ink.maxY + pad);  // SVG coordinates
  const std::int64_t lineHeight = std::max<std::int64_t>(span / 18, 600);
  const std::int64_t font = lineHeight * 7 / 10;
  const std::int64_t band = 2 * lineHeight;  // the titles above the views
  const std::int64_t legendLeft = left + 2 * viewWidth;
  const std::int64_t legendWidth = font * 28;
  std::vector<const FabLayer*> shown;
  for (const FabLayer* layer : layers) {
    if (InPreview(*layer)) shown.push_back(layer);
  }
  const std::size_t keys = shown.size() + (frame.check ? 1 : 0);
  const std::int64_t height =
      std::max(ink.Height() + 2 * pad, lineHeight * static_cast<std::int64_t>(keys + 3)) + band;
  const std::int64_t ring = lineHeight;  // a mark's radius: as large as a legend line on any board
  const std::int64_t width = 2 * viewWidth + legendWidth;
  const std::string title = XmlText(frame.title);
  const std::string size = XmlText(BoardSizeText(board));

  for (const FabLayer* layer : shown) {
    if (layer->function != FileFunction::Soldermask) continue;
    Put(out, "<mask id=\"bared-" + layer->id + "\" maskUnits=\"userSpaceOnUse\" x=\"" + N(ink.minX) + "\" y=\"" +
                 N(-ink.maxY) + "\" width=\"" + N(ink.Width()) + "\" height=\"" + N(ink.Height()) + "\">" +
                 "<use xlink:href=\"#" + layer->id + "\" stroke=\"#fff\"/></mask>\n");
  }
  Put(out, "</defs>\n");
  Put(out, "<rect x=\"" + N(left) + "\" y=\"" + N(top - band) + "\" width=\"" + N(width) + "\" height=\"" +
               N(height) + "\" fill=\"#ffffff\"/>\n");

  for (const Side side : {Side::Top, Side::Bottom}) {
    const bool bottom = side == Side::Bottom;
    const std::int64_t viewLeft = left + (bottom ? viewWidth : 0);
    Put(out, "<text x=\"" + N(viewLeft + pad) + "\" y=\"" + N(top - band / 3) + "\">" +
                 Say(frame.language, bottom ? Text::PreviewBottomView : Text::PreviewTopView) + "</text>\n");
    // Seen from below, left and right change places: x becomes mirror - x.
    const std::int64_t mirror = viewLeft + viewWidth - pad + ink.minX;
    Put(out, std::string("<g id=\"") + (bottom ? "bottom-view" : "top-view") + "\"" +
                 (bottom ? " transform=\"translate(" + N(mirror) + " 0) scale(-1 1)\"" : "") + ">\n");
    Put(out, "<rect x=\"" + N(board.minX) + "\" y=\"" + N(-board.maxY) + "\" width=\"" + N(board.Width()) +
                 "\" height=\"" + N(board.Height()) + "\" fill=\"" + std::string(kMask) + "\"/>\n");
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
      if (copper != nullptr) {
        Put(out, Use(*copper, {kBared}, " mask=\"url(#bared-" + layer->id + ")\""));
      }
    }
    for (const FabLayer* layer : shown) {
      const bool sided = layer->function == FileFunction::Legend;
      const bool everywhere = layer->IsDrill() || layer->function == FileFunction::Profile;
      if ((sided && layer->side == side) || everywhere) Put(out, Use(*layer, PaintOf(*layer)));
    }
    if (frame.check && !frame.check->marks.empty()) {
      Put(out, "<g class=\"L-check\" fill=\"" + std::string(kFinding) + "\" fill-opacity=\"0.12\" stroke=\"" +
                   std::string(kFinding) + "\" stroke-width=\"" + N(ring / 6) + "\">\n");
      for (const PreviewMark& mark : frame.check->marks) {
        if (mark.side && *mark.side != side) continue;
        Put(out, "<circle cx=\"" + N(mark.at.x) + "\" cy=\"" + N(-std::int64_t{mark.at.y}) + "\" r=\"" + N(ring) +
                     "\"><title>" + XmlText(mark.title) + "</title></circle>\n");
      }
      Put(out, "</g>\n");
    }
    Put(out, "</g>\n");
  }

  // The title, the size and one key per layer.
  std::int64_t baseline = top + lineHeight;
  Put(out, "<text x=\"" + N(legendLeft) + "\" y=\"" + N(baseline) + "\" font-weight=\"bold\">" + title + "</text>\n");
  baseline += lineHeight;
  Put(out, "<text x=\"" + N(legendLeft) + "\" y=\"" + N(baseline) + "\">" + size + "</text>\n");
  for (const FabLayer* layer : shown) {
    baseline += lineHeight;
    const Paint paint = PaintOf(*layer);
    Put(out, "<g class=\"key\" onclick=\"toggle('" + layer->id + "', this)\">");
    Put(out, "<rect x=\"" + N(legendLeft) + "\" y=\"" + N(baseline - font) + "\" width=\"" + N(font) +
                 "\" height=\"" + N(font) + "\" fill=\"" + std::string(paint.colour) +
                 "\" stroke=\"#222\" stroke-width=\"" + N(font / 10 + 1) + "\"/>");
    Put(out, "<text x=\"" + N(legendLeft + font * 3 / 2) + "\" y=\"" + N(baseline) + "\">" + XmlText(RoleText(*layer, frame.language)) +
                 " (" + XmlText(SystemTextToUtf8(layer->name)) + ")</text></g>\n");
  }
  if (frame.check) {
    baseline += lineHeight;
    Put(out, "<g class=\"key\" onclick=\"toggle('check', this)\">");
    Put(out, "<circle cx=\"" + N(legendLeft + font / 2) + "\" cy=\"" + N(baseline - font / 2) + "\" r=\"" +
                 N(font * 2 / 5) + "\" fill=\"none\" stroke=\"" + std::string(kFinding) + "\" stroke-width=\"" +
                 N(font / 8 + 1) + "\"/>");
    Put(out, "<text x=\"" + N(legendLeft + font * 3 / 2) + "\" y=\"" + N(baseline) + "\">" +
                 XmlText(frame.check->key) + "</text></g>\n");
  }
  Put(out, "<style>\n"
           ".off { display: none }\n"
           ".key { cursor: pointer }\n"
           ".key.hidden { opacity: 0.35 }\n"
           "text { font-family: sans-serif; font-size: " + N(font) + "px; fill: #222 }\n"
           "</style>\n");
  Put(out, "<script><![CDATA[\n"
           "function toggle(id, key) {\n"
           "  var off = key.classList.toggle('hidden');\n"
           "  document.querySelectorAll('.L-' + id).forEach(function (e) { e.classList.toggle('off', off); });\n"
           "}\n"
           "]]></script>\n");
  Put(out, "</svg>\n");
  return RootElement(Padded(FormatDecimal(width, 3)), Padded(FormatDecimal(height, 3)), Padded(N(left)),
                     Padded(N(top - band)), Padded(N(width)), Padded(N(height)));
}

}  // namespace velmorta::fab
