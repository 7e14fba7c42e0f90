#include "check/report.hpp"

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <span>

namespace velmorta::check {
namespace {

// The report files are UTF-8 with a byte order mark: Notepad and Excel on a Japanese
// Windows read them as UTF-8 only with it (without, as Shift-JIS), and a Linux terminal
// shows them as they are; `type` needs `chcp 65001` first.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string OriginText(Origin origin, const FileNames& names, Language language) {
  if (origin.file == 0) return "";
  const std::string file = origin.file < names.size() && !names[origin.file].empty()
                               ? names[origin.file]
                               : Say(language, Text::SourceFileNumbered, {{"number", std::to_string(origin.file)}});
  return file + ":" + std::to_string(origin.ordinal);
}

std::string SeverityText(Severity severity, Language language) {
  return Say(language, severity == Severity::Error ? Text::SeverityError : Text::SeverityWarning);
}

std::string Count(Language language, std::uint32_t n, Text one, Text many) {
  return n == 1 ? Say(language, one) : Say(language, many, {{"count", std::to_string(n)}});
}

struct Columns {
  std::string severity, kind, layer, x, y, padX, padY, measured, limit, count, first, second;
};

// The CSV's words are English in every language: programs read them.
Columns ColumnsOf(const Finding& f, const std::optional<PadFrame>& frame, const FileNames& names, Language language) {
  const KindTraits& t = TraitsOf(f.kind);
  const std::string layer = language == Language::English ? std::string(NameOf(f.layer)) : Say(language, TextOf(f.layer));
  Columns c{SeverityText(t.severity, language), std::string(t.name), layer, MmText(f.at.x), MmText(f.at.y), "", "", "", "",
            std::to_string(f.count), OriginText(f.first, names, language), OriginText(f.second, names, language)};
  if (frame) {
    c.padX = PadText(PadX(*frame, f.at.x));
    c.padY = PadText(PadY(*frame, f.at.y));
  }
  if (t.measured) {
    c.measured = MmText(f.measured);
    c.limit = MmText(f.limit);
  }
  return c;
}

std::string Verdict(const CheckResult& r, Language language) {
  if (!r.stopped.empty()) return Say(language, Text::VerdictStopped, {{"why", r.stopped}});
  if (r.errors == 0 && r.warnings == 0) return Say(language, Text::VerdictPassed);
  return Say(language, Text::VerdictCounts,
             {{"errors", Count(language, r.errors, Text::ErrorsOne, Text::ErrorsMany)},
              {"warnings", Count(language, r.warnings, Text::WarningsOne, Text::WarningsMany)}});
}

std::span<const Finding> Listed(const CheckResult& r) {
  return std::span<const Finding>(r.findings).first(std::min(r.findings.size(), kMostListed));
}

// Columns a fixed-width font gives the UTF-8 text: two for Japanese characters (from
// U+1100 on, but for the half-width forms), one for the rest.
std::size_t Width(std::string_view s) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < s.size();) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    auto point = static_cast<std::uint32_t>(length == 1 ? lead : lead & (0x3F >> (length - 1)));
    for (std::size_t k = 1; k < length && i + k < s.size(); ++k) {
      point = point << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3Fu);
    }
    width += point >= 0x1100 && !(point >= 0xFF61 && point <= 0xFFDC) ? 2 : 1;
    i += length;
  }
  return width;
}

std::string Pad(std::string s, std::size_t width) {
  if (const std::size_t used = Width(s); used < width) s.append(width - used, ' ');
  return s;
}

std::string FindingLine(const Finding& f, const CheckResult& result, const FileNames& names, Language language) {
  const Columns c = ColumnsOf(f, result.frame, names, language);
  // The widest side's name and a space: "bottom" in English, ボトム面 in Japanese.
  const std::size_t layerWidth = language == Language::Japanese ? 9 : 7;
  std::string line = Pad(c.severity, 8) + Pad(c.kind, 15) + Pad(c.layer, layerWidth) +
                     Say(language, Text::ReportAt, {{"x", c.x}, {"y", c.y}});
  if (result.frame) line += "  " + Say(language, Text::ReportPad, {{"x", c.padX}, {"y", c.padY}});
  if (TraitsOf(f.kind).measured) line += "  " + MeasureText(f);
  line += "  " + c.first;
  if (!c.second.empty()) line += ", " + c.second;
  if (f.count > 1) line += "  " + Say(language, Text::ReportFoundTimes, {{"count", std::to_string(f.count)}});
  return line + "\n";
}

}  // namespace

std::string MmText(double micrometres) { return Fixed(micrometres / 1000, 3); }

std::string PadText(double padUnits) { return Fixed(padUnits, 2); }

std::string MeasureText(const Finding& finding) {
  const KindTraits& traits = TraitsOf(finding.kind);
  if (!traits.measured) return "";
  return MmText(finding.measured) + (traits.largerIsWorse ? " > " : " < ") + MmText(finding.limit);
}

double PadX(const PadFrame& frame, std::int32_t x) {
  return (static_cast<double>(x) + frame.minX - frame.margin) / 254;
}

double PadY(const PadFrame& frame, std::int32_t y) {
  return (static_cast<double>(frame.margin) + frame.maxY - y) / 254;
}

std::string ReportText(const CheckResult& result, const Limits& limits, const FileNames& names,
                       std::string_view noFrame, Language language) {
  const auto say = [language](Text key, std::initializer_list<Arg> args = {}) { return Say(language, key, args); };
  std::string text = std::string(kByteOrderMark) + say(Text::ReportHeading, {{"verdict", Verdict(result, language)}}) + "\n";
  if (!result.frame && !noFrame.empty()) text += say(Text::ReportNoFrame, {{"why", std::string(noFrame)}}) + "\n";
  text += "\n" + say(Text::ReportLimits) + "\n";
  for (const LimitName& n : LimitNames()) {
    text += "  " + Pad(std::string(n.name), 14) + Pad(Millimetres(limits.*(n.member)), 9) + say(n.meaning) + "\n";
  }
  if (result.findings.empty()) return text;

  text += "\n" + say(Text::ReportFindings) + "\n";
  for (const Finding& f : Listed(result)) text += FindingLine(f, result, names, language);
  if (result.findings.size() > kMostListed) {
    text += say(Text::ReportMore, {{"count", std::to_string(result.findings.size() - kMostListed)}}) + "\n";
  }

  text += "\n" + say(Text::ReportKinds) + "\n";
  bool seen[kKindCount] = {};
  for (const Finding& f : result.findings) seen[static_cast<int>(f.kind)] = true;
  for (int k = 0; k < kKindCount; ++k) {
    if (!seen[k]) continue;
    const KindTraits& t = TraitsOf(static_cast<Kind>(k));
    text += "  " + Pad(std::string(t.name), 15) + Pad(SeverityText(t.severity, language), 8) + say(t.meaning) + "\n";
  }
  return text;
}

std::string ReportCsv(const CheckResult& result, const FileNames& names) {
  std::string text(kByteOrderMark);
  text += "severity,kind,layer,x_mm,y_mm,x_pad,y_pad,measured_mm,limit_mm,count,source,other\n";
  const auto field = [](const std::string& s) {
    // Names come from the user's configuration: quote any that a reader would split.
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string quoted = "\"";
    for (const char ch : s) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return quoted + "\"";
  };
  for (const Finding& f : Listed(result)) {
    const Columns c = ColumnsOf(f, result.frame, names, Language::English);
    text += c.severity + "," + c.kind + "," + c.layer + "," + c.x + "," + c.y + "," + c.padX + "," + c.padY + "," +
            c.measured + "," + c.limit + "," + c.count + "," + field(c.first) + "," + field(c.second) + "\n";
  }
  return text;
}

std::string Summary(const CheckResult& result, Language language) {
  std::string text = Say(language, Text::SummaryHeading, {{"verdict", Verdict(result, language)}}) + "\n";
  std::uint32_t counts[kKindCount] = {};
  for (const Finding& f : result.findings) ++counts[static_cast<int>(f.kind)];
  for (const Severity severity : {Severity::Error, Severity::Warning}) {
    for (int k = 0; k < kKindCount; ++k) {
      const KindTraits& t = TraitsOf(static_cast<Kind>(k));
      if (counts[k] == 0 || t.severity != severity) continue;
      text += "  " + Pad(SeverityText(severity, language), 8) + Pad(std::string(t.name), 15) + std::to_string(counts[k]) + "\n";
    }
  }
  return text;
}

}  // namespace velmorta::check
