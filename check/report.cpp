#include "check/report.hpp"

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <span>

namespace velmorta::check {
namespace {

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Mm(double micrometres) { return Fixed(micrometres / 1000, 3); }

std::string SourceText(Source source, const FileNames& names) {
  if (source.file == 0) return "";
  const std::string file = source.file < names.size() && !names[source.file].empty()
                               ? names[source.file]
                               : "file " + std::to_string(source.file);
  return file + ":" + std::to_string(source.index);
}

std::string SeverityText(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

std::string Plural(std::uint32_t n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

struct Columns {
  std::string severity, kind, layer, x, y, padX, padY, measured, limit, count, first, second;
};

Columns ColumnsOf(const Finding& f, const std::optional<PadFrame>& frame, const FileNames& names) {
  const KindTraits& t = TraitsOf(f.kind);
  Columns c{SeverityText(t.severity), std::string(t.name), std::string(NameOf(f.layer)), Mm(f.at.x), Mm(f.at.y),
            "", "", "", "", std::to_string(f.count), SourceText(f.first, names), SourceText(f.second, names)};
  if (frame) {
    c.padX = Fixed(PadX(*frame, f.at.x), 2);
    c.padY = Fixed(PadY(*frame, f.at.y), 2);
  }
  if (t.measured) {
    c.measured = Mm(f.measured);
    c.limit = Mm(f.limit);
  }
  return c;
}

std::string Verdict(const CheckResult& r) {
  if (!r.stopped.empty()) return "not done, the board was not checked: " + r.stopped;
  if (r.errors == 0 && r.warnings == 0) return "passed";
  return Plural(r.errors, "error") + ", " + Plural(r.warnings, "warning");
}

std::span<const Finding> Listed(const CheckResult& r) {
  return std::span<const Finding>(r.findings).first(std::min(r.findings.size(), kMostListed));
}

std::string Pad(std::string s, std::size_t width) {
  if (s.size() < width) s.append(width - s.size(), ' ');
  return s;
}

}  // namespace

double PadX(const PadFrame& frame, std::int32_t x) {
  return (static_cast<double>(x) + frame.minX - frame.margin) / 254;
}

double PadY(const PadFrame& frame, std::int32_t y) {
  return (static_cast<double>(frame.margin) + frame.maxY - y) / 254;
}

std::string ReportText(const CheckResult& result, const Limits& limits, const FileNames& names,
                       std::string_view noFrame) {
  std::string text = "Board check: " + Verdict(result) + ".\n";
  if (!result.frame && !noFrame.empty()) text += "Positions in mm only, not in the pad file's units: " + std::string(noFrame) + ".\n";
  text += "\nLimits (mm):\n";
  for (const LimitName& n : LimitNames()) {
    text += "  " + Pad(std::string(n.name), 14) + Pad(Millimetres(limits.*(n.member)), 9) + std::string(n.meaning) + "\n";
  }
  if (result.findings.empty()) return text;

  text += "\nFindings (positions in mm; pad: in the pad file's units, 0.01 inch):\n";
  for (const Finding& f : Listed(result)) {
    const Columns c = ColumnsOf(f, result.frame, names);
    std::string line = Pad(c.severity, 8) + Pad(c.kind, 15) + Pad(c.layer, 7) + "at " + c.x + ", " + c.y;
    if (result.frame) line += "  pad " + c.padX + ", " + c.padY;
    if (TraitsOf(f.kind).measured) {
      const bool max = TraitsOf(f.kind).largerIsWorse;
      line += "  " + c.measured + (max ? " > " : " < ") + c.limit;
    }
    line += "  " + c.first;
    if (!c.second.empty()) line += ", " + c.second;
    if (f.count > 1) line += "  (found " + std::to_string(f.count) + " times here)";
    text += line + "\n";
  }
  if (result.findings.size() > kMostListed) {
    text += "... and " + std::to_string(result.findings.size() - kMostListed) + " more, not listed\n";
  }

  text += "\nKinds:\n";
  bool seen[kKindCount] = {};
  for (const Finding& f : result.findings) seen[static_cast<int>(f.kind)] = true;
  for (int k = 0; k < kKindCount; ++k) {
    if (!seen[k]) continue;
    const KindTraits& t = TraitsOf(static_cast<Kind>(k));
    text += "  " + Pad(std::string(t.name), 15) + Pad(SeverityText(t.severity), 8) + std::string(t.meaning) + "\n";
  }
  return text;
}

std::string ReportCsv(const CheckResult& result, const FileNames& names) {
  std::string text = "severity,kind,layer,x_mm,y_mm,x_pad,y_pad,measured_mm,limit_mm,count,source,other\n";
  const auto field = [](const std::string& s) {
    // Names come from the user's configuration: quote any that a reader would split.
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string quoted = "\"";
    for (const char ch : s) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return quoted + "\"";
  };
  for (const Finding& f : Listed(result)) {
    const Columns c = ColumnsOf(f, result.frame, names);
    text += c.severity + "," + c.kind + "," + c.layer + "," + c.x + "," + c.y + "," + c.padX + "," + c.padY + "," +
            c.measured + "," + c.limit + "," + c.count + "," + field(c.first) + "," + field(c.second) + "\n";
  }
  return text;
}

std::string Summary(const CheckResult& result) {
  std::string text = "board check: " + Verdict(result) + "\n";
  std::uint32_t counts[kKindCount] = {};
  for (const Finding& f : result.findings) ++counts[static_cast<int>(f.kind)];
  for (const Severity severity : {Severity::Error, Severity::Warning}) {
    for (int k = 0; k < kKindCount; ++k) {
      const KindTraits& t = TraitsOf(static_cast<Kind>(k));
      if (counts[k] == 0 || t.severity != severity) continue;
      text += "  " + Pad(SeverityText(severity), 8) + Pad(std::string(t.name), 15) + std::to_string(counts[k]) + "\n";
    }
  }
  return text;
}

}  // namespace velmorta::check
