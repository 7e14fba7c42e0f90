#include "export/write/kicad_board.hpp"

#include "export/write/kicad_text.hpp"

namespace velmorta::fab {
namespace {

std::string Mm(std::int64_t micrometres) { return KicadMillimetres(micrometres); }

std::string Xy(const char* name, geometry::Point p) {
  std::string text = "(";
  text += name;
  return text + " " + Mm(p.x) + " " + Mm(p.y) + ")";
}

std::string CopperOf(Side side) { return side == Side::Top ? "\"F.Cu\"" : "\"B.Cu\""; }
std::string SilkOf(Side side) { return side == Side::Top ? "\"F.SilkS\"" : "\"B.SilkS\""; }
std::string MaskOf(Side side) { return side == Side::Top ? "\"F.Mask\"" : "\"B.Mask\""; }

geometry::Point Minus(geometry::Point a, geometry::Point b) { return {a.x - b.x, a.y - b.y}; }

std::string NetOf(const std::vector<std::string>& nets, std::uint32_t net) {
  if (net == 0 || net > nets.size()) return "";
  return " (net " + std::to_string(net) + " " + KicadQuoted(nets[net - 1]) + ")";
}

std::string Line(const char* kind, const KicadLine& line, geometry::Point origin) {
  const std::string layer = line.side ? SilkOf(*line.side) : "\"Edge.Cuts\"";
  std::string text = "(";
  text += kind;
  return text + " " + Xy("start", Minus(line.line.from, origin)) + " " +
         Xy("end", Minus(line.line.to, origin)) + " (layer " + layer + ") (width " + Mm(line.line.width) + "))";
}

std::string Pad(const std::vector<std::string>& nets, const KicadPad& pad, geometry::Point origin) {
  const char* type = pad.drill == 0 ? "smd" : pad.plated ? "thru_hole" : "np_thru_hole";
  std::string text = "    (pad " + KicadQuoted(pad.number) + " " + type + " circle " + Xy("at", Minus(pad.at, origin)) +
                     " (size " + Mm(pad.size) + " " + Mm(pad.size) + ")";
  if (pad.drill != 0) text += " (drill " + Mm(pad.drill) + ")";
  text += pad.side ? " (layers " + CopperOf(*pad.side) + " " + MaskOf(*pad.side) + ")" : " (layers \"*.Cu\" \"*.Mask\")";
  return text + NetOf(nets, pad.net) + ")\n";
}

std::string Text(const char* kind, const std::string& text, int y, bool hidden) {
  return "    (fp_text " + std::string(kind) + " " + KicadQuoted(text) + " (at 0 " + std::to_string(y) +
         ") (layer \"F.Fab\")" + (hidden ? " hide" : "") + " (effects (font (size 1 1) (thickness 0.15))))\n";
}

std::string Footprint(const std::vector<std::string>& nets, const KicadFootprint& footprint) {
  const geometry::Point origin = footprint.pads.empty() ? geometry::Point{} : footprint.pads.front().at;
  std::string text = "  (footprint " + KicadQuoted("pad-file:" + footprint.kind) + " (layer \"F.Cu\") " + Xy("at", origin) + "\n";
  text += Text("reference", footprint.reference, -2, false);
  text += Text("value", footprint.value, 2, true);
  for (const KicadLine& line : footprint.silk) text += "    " + Line("fp_line", line, origin) + "\n";
  for (const KicadPad& pad : footprint.pads) text += Pad(nets, pad, origin);
  return text + "  )\n";
}

std::string Header(const KicadRules& r, const std::vector<std::string>& nets) {
  std::string text = std::string(kKicadBoardStart) +
      "\n"
      "  (general (thickness 1.6))\n"
      "  (paper \"A4\")\n"
      "  (layers\n"
      "    (0 \"F.Cu\" signal)\n    (31 \"B.Cu\" signal)\n"
      "    (36 \"B.SilkS\" user \"B.Silkscreen\")\n    (37 \"F.SilkS\" user \"F.Silkscreen\")\n"
      "    (38 \"B.Mask\" user)\n    (39 \"F.Mask\" user)\n"
      "    (44 \"Edge.Cuts\" user)\n    (49 \"F.Fab\" user)\n"
      "  )\n";
  text += "  (setup (pad_to_mask_clearance " + Mm(r.maskExpansion) + ") (trace_min " + Mm(r.track) + ") (clearance_min " +
          Mm(r.clearance) + ") (through_hole_min " + Mm(r.drill) + ") (via_min_annulus " + Mm(r.ring) +
          ") (hole_to_hole_min " + Mm(r.holeSpacing) + "))\n";
  text += "  (net_class \"Default\" \"\" (clearance " + Mm(r.clearance) + ") (trace_width " + Mm(r.track) + "))\n";
  text += "  (net 0 \"\")\n";
  for (std::size_t n = 0; n < nets.size(); ++n) {
    text += "  (net " + std::to_string(n + 1) + " " + KicadQuoted(nets[n]) + ")\n";
  }
  return text;
}

}  // namespace

KicadBoardWriter::KicadBoardWriter(OutFile& out, const KicadRules& rules, const std::vector<std::string>& nets)
    : out_(out), nets_(nets) {
  out_.Put(Header(rules, nets_));
}

void KicadBoardWriter::Add(const KicadFootprint& footprint) { out_.Put(Footprint(nets_, footprint)); }

void KicadBoardWriter::Add(const KicadLine& line) { out_.Put("  " + Line("gr_line", line, {}) + "\n"); }

void KicadBoardWriter::Add(const KicadTrack& track) {
  out_.Put("  (segment " + Xy("start", track.stroke.from) + " " + Xy("end", track.stroke.to) + " (width " +
           Mm(track.stroke.width) + ") (layer " + CopperOf(track.side) + ") (net " + std::to_string(track.net) + "))\n");
}

void KicadBoardWriter::Add(const KicadVia& via) {
  out_.Put("  (via " + Xy("at", via.at) + " (size " + Mm(via.size) + ") (drill " + Mm(via.drill) +
           ") (layers \"F.Cu\" \"B.Cu\") (net " + std::to_string(via.net) + "))\n");
}

void KicadBoardWriter::Finish() { out_.Put(")\n"); }

}  // namespace velmorta::fab
