#include "export/svg_preview.hpp"

#include <algorithm>

#include "export/decimal.hpp"

namespace velmorta::fab {
namespace {

std::string Xml(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += static_cast<unsigned char>(c) < 0x20 ? '_' : c;
    }
  }
  return out;
}

std::string N(std::int64_t v) { return std::to_string(v); }

// SVG's y axis points down: board y is written negated.
std::string Y(std::int64_t y) { return std::to_string(-y); }

}  // namespace

std::string WriteSvgPreview(const std::vector<PreviewLayer>& layers, std::string_view title) {
  Extents board;
  for (const PreviewLayer& layer : layers) board.Add(ExtentsOf(layer.shapes));
  if (board.empty) board = Extents{false, 0, 0, 10000, 10000};
  const std::int64_t span = std::max(board.maxX - board.minX, board.maxY - board.minY);
  const std::int64_t pad = span / 25 + 500;
  const std::int64_t left = board.minX - pad, right = board.maxX + pad;
  const std::int64_t bottom = board.minY - pad, top = board.maxY + pad;
  const std::int64_t height = top - bottom;
  // The legend to the right: a title line and one line per layer.
  const std::int64_t lineHeight = std::max(height, span / 2) / 11 + 1;
  const std::int64_t font = lineHeight * 7 / 10;
  const std::int64_t legendLeft = right + pad;
  const std::int64_t legendWidth = font * 17;
  const std::int64_t width = legendLeft + legendWidth - left;
  const std::int64_t svgHeight = std::max<std::int64_t>(height, lineHeight * (static_cast<std::int64_t>(layers.size()) + 2));

  std::string out;
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + FormatDecimal(width, 3) + "mm\" height=\"" +
         FormatDecimal(svgHeight, 3) + "mm\" viewBox=\"" + N(left) + " " + Y(top) + " " + N(width) + " " +
         N(svgHeight) + "\">\n";
  out += "<title>" + Xml(title) + "</title>\n";
  out += "<style>\n"
         ".layer { opacity: 0.8 }\n"
         ".off { display: none }\n"
         ".key { cursor: pointer; font-family: sans-serif; font-size: " + N(font) + "px }\n"
         ".key.hidden { opacity: 0.35 }\n"
         "</style>\n";
  out += "<script><![CDATA[\n"
         "function toggle(id, key) {\n"
         "  var off = document.getElementById(id).classList.toggle('off');\n"
         "  key.classList.toggle('hidden', off);\n"
         "}\n"
         "]]></script>\n";
  out += "<rect x=\"" + N(left) + "\" y=\"" + Y(top) + "\" width=\"" + N(width) + "\" height=\"" + N(svgHeight) +
         "\" fill=\"#ffffff\"/>\n";
  out += "<rect x=\"" + N(left) + "\" y=\"" + Y(top) + "\" width=\"" + N(right - left) + "\" height=\"" + N(height) +
         "\" fill=\"#17361f\"/>\n";
  for (const PreviewLayer& layer : layers) {
    out += "<g id=\"" + Xml(layer.id) + "\" class=\"layer\" fill=\"" + layer.colour + "\" stroke=\"" + layer.colour +
           "\" stroke-linecap=\"round\">\n";
    for (const Stroke& s : layer.shapes.strokes) {
      out += "<path d=\"M" + N(s.x1) + " " + Y(s.y1) + "L" + N(s.x2) + " " + Y(s.y2) + "\" stroke-width=\"" +
             N(s.width) + "\" fill=\"none\"/>\n";
    }
    for (const Dot& d : layer.shapes.dots) {
      out += "<circle cx=\"" + N(d.x) + "\" cy=\"" + Y(d.y) + "\" r=\"" + FormatDecimal(d.diameter * 5, 1) +
             "\" stroke=\"none\"/>\n";
    }
    out += "</g>\n";
  }
  out += "<text x=\"" + N(legendLeft) + "\" y=\"" + Y(top - lineHeight) +
         "\" font-family=\"sans-serif\" font-weight=\"bold\" font-size=\"" + N(font) + "px\" fill=\"#222\">" +
         Xml(title) + "</text>\n";
  std::int64_t line = 2;
  for (const PreviewLayer& layer : layers) {
    const std::int64_t baseline = top - lineHeight * line++;
    out += "<g class=\"key\" onclick=\"toggle('" + Xml(layer.id) + "', this)\">";
    out += "<rect x=\"" + N(legendLeft) + "\" y=\"" + Y(baseline + font) + "\" width=\"" + N(font) + "\" height=\"" +
           N(font) + "\" fill=\"" + layer.colour + "\" stroke=\"#222\" stroke-width=\"" + N(font / 12 + 1) + "\"/>";
    out += "<text x=\"" + N(legendLeft + font * 3 / 2) + "\" y=\"" + Y(baseline) + "\" fill=\"#222\">" +
           Xml(layer.label) + "</text></g>\n";
  }
  out += "</svg>\n";
  return out;
}

}  // namespace velmorta::fab
