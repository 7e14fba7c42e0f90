#include "export/write/kicad_board.hpp"

#include <charconv>

#include "export/write/kicad_text.hpp"

namespace velmorta::fab {
namespace {

std::string Mm(std::int64_t micrometres) { return KicadMillimetres(micrometres); }

// The writers build each line in one buffer: a file of a million items is mostly
// numbers, each appended where it goes.
void AppendXy(std::string& text, const char* name, geometry::Point p) {
  text += '(';
  text += name;
  text += ' ';
  AppendKicadMillimetres(text, p.x);
  text += ' ';
  AppendKicadMillimetres(text, p.y);
  text += ')';
}

std::string Xy(const char* name, geometry::Point p) {
  std::string text;
  AppendXy(text, name, p);
  return text;
}

void AppendNumber(std::string& text, std::uint64_t n) {
  char digits[24];
  text.append(digits, std::to_chars(digits, digits + sizeof digits, n).ptr);
}

std::string_view CopperOf(Side side) { return side == Side::Top ? "\"F.Cu\"" : "\"B.Cu\""; }
std::string_view SilkOf(Side side) { return side == Side::Top ? "\"F.SilkS\"" : "\"B.SilkS\""; }
std::string_view MaskOf(Side side) { return side == Side::Top ? "\"F.Mask\"" : "\"B.Mask\""; }

geometry::Point Minus(geometry::Point a, geometry::Point b) { return {a.x - b.x, a.y - b.y}; }

std::string NetOf(const std::vector<std::string>& nets, std::uint32_t net) {
  if (net == 0 || net > nets.size()) return "";
  return " (net " + std::to_string(net) + " " + KicadQuoted(nets[net - 1]) + ")";
}

void AppendLine(std::string& text, const char* kind, const KicadLine& line, geometry::Point origin) {
  text += '(';
  text += kind;
  text += ' ';
  AppendXy(text, "start", Minus(line.line.from, origin));
  text += ' ';
  AppendXy(text, "end", Minus(line.line.to, origin));
  text += " (layer ";
  text += line.side ? SilkOf(*line.side) : "\"Edge.Cuts\"";
  text += ") (width ";
  AppendKicadMillimetres(text, line.line.width);
  text += "))";
}

std::string Pad(const std::vector<std::string>& nets, const KicadPad& pad, geometry::Point origin) {
  const char* type = pad.drill == 0 ? "smd" : pad.plated ? "thru_hole" : "np_thru_hole";
  std::string text = "    (pad " + KicadQuoted(pad.number) + " " + type + " circle " + Xy("at", Minus(pad.at, origin)) +
                     " (size " + Mm(pad.size) + " " + Mm(pad.size) + ")";
  if (pad.drill != 0) text += " (drill " + Mm(pad.drill) + ")";
  if (pad.side) {
    text += " (layers ";
    text += CopperOf(*pad.side);
    text += ' ';
    text += MaskOf(*pad.side);
    text += ')';
  } else {
    text += " (layers \"*.Cu\" \"*.Mask\")";
  }
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
  for (const KicadLine& line : footprint.silk) {
    text += "    ";
    AppendLine(text, "fp_line", line, origin);
    text += '\n';
  }
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

void KicadBoardWriter::Add(const KicadLine& line) {
  line_ = "  ";
  AppendLine(line_, "gr_line", line, {});
  line_ += '\n';
  out_.Put(line_);
}

void KicadBoardWriter::Add(const KicadTrack& track) {
  line_ = "  (segment ";
  AppendXy(line_, "start", track.stroke.from);
  line_ += ' ';
  AppendXy(line_, "end", track.stroke.to);
  line_ += " (width ";
  AppendKicadMillimetres(line_, track.stroke.width);
  line_ += ") (layer ";
  line_ += CopperOf(track.side);
  line_ += ") (net ";
  AppendNumber(line_, track.net);
  line_ += "))\n";
  out_.Put(line_);
}

void KicadBoardWriter::Add(const KicadVia& via) {
  line_ = "  (via ";
  AppendXy(line_, "at", via.at);
  line_ += " (size ";
  AppendKicadMillimetres(line_, via.size);
  line_ += ") (drill ";
  AppendKicadMillimetres(line_, via.drill);
  line_ += ") (layers \"F.Cu\" \"B.Cu\") (net ";
  AppendNumber(line_, via.net);
  line_ += "))\n";
  out_.Put(line_);
}

void KicadBoardWriter::Finish() { out_.Put(")\n"); }

}  // namespace velmorta::fab
