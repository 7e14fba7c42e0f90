#include "export/write/fab_writers.hpp"

#include <charconv>

#include "export/model/decimal.hpp"
#include "export/read/text_scan.hpp"

namespace velmorta::fab {
namespace {

constexpr std::int64_t kCoordinateLimit = 10'000'000;  // 10^4 mm in 0.001 mm
constexpr std::int32_t kFirstAperture = 10;             // D0 to D9 are operations

// Every line ends in CR LF (OutFile turns "\n" into it), like the converter's drill
// file, so the files are byte-identical on every platform.
void Attribute(OutFile& out, std::string_view prefix, std::string_view name, std::string_view value,
               std::string_view end) {
  out.Put(prefix);
  out.Put(name);
  out.Put(",");
  out.Put(value);
  out.Put(end);
}

char* Digits(char* at, std::int64_t value) { return std::to_chars(at, at + 24, value).ptr; }

// 0.001 mm as millimetres with three decimals, "-0.254", without a string.
char* Millimetres(char* at, std::int32_t value) {
  std::int64_t v = value;
  if (v < 0) {
    *at++ = '-';
    v = -v;
  }
  at = Digits(at, v / 1000);
  *at++ = '.';
  const auto fraction = static_cast<int>(v % 1000);
  *at++ = static_cast<char>('0' + fraction / 100);
  *at++ = static_cast<char>('0' + fraction / 10 % 10);
  *at++ = static_cast<char>('0' + fraction % 10);
  return at;
}

}  // namespace

std::string_view GenerationSoftware() { return "velmorta,velmorta-export," VELMORTA_VERSION; }

std::string GerberText(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '*' || c == '%' || c == '\\') {
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += c;
    }
  }
  return out;
}

GerberWriter::GerberWriter(OutFile& out, const FabLayer& layer, int copperLayers, const Heading& heading,
                           const SourceFiles& sources)
    : out_(out), sources_(sources) {
  out_.Put("G04 " + GerberText(heading.title) + "*\n");
  // Attributes in comments: readers that know them take them, and none warns.
  Attribute(out_, "G04 #@! ", "TF.GenerationSoftware", GenerationSoftware(), "*\n");
  if (heading.creationDate) Attribute(out_, "G04 #@! ", "TF.CreationDate", *heading.creationDate, "*\n");
  Attribute(out_, "G04 #@! ", "TF.FileFunction", FileFunctionText(layer, copperLayers), "*\n");
  Attribute(out_, "G04 #@! ", "TF.FilePolarity", PolarityText(layer.polarity), "*\n");
  out_.Put(kFormatStatement);
  out_.Put("\n%MOMM*%\n%LPD*%\nG01*\n");
}

std::int32_t GerberWriter::Aperture(const Feature& feature) {
  // Features come in runs of one code: the last one answers most look-ups.
  if (haveLast_) {
    const ApertureUse& last = uses_[lastUse_];
    if (last.file == feature.file && last.code == feature.code && last.function == feature.function) {
      ++uses_[lastUse_].uses;
      return last.number;
    }
  }
  const auto key = std::make_tuple(feature.file, feature.code, feature.function);
  auto found = useIndex_.find(key);
  if (found == useIndex_.end()) {
    const std::int64_t diameter = feature.Diameter();
    auto [number, added] = numbers_.try_emplace({feature.function, diameter},
                                                kFirstAperture + static_cast<std::int32_t>(numbers_.size()));
    if (added) {
      // An aperture is defined where it is first needed, with its function before it.
      const std::string_view function = AperFunctionText(feature.function);
      if (!function.empty()) Attribute(out_, "G04 #@! ", "TA.AperFunction", function, "*\n");
      out_.Put("%ADD", number->second, "C,");
      out_.Put(FormatDecimal(diameter, 3));
      out_.Put("*%\n");
      if (!function.empty()) out_.Put("G04 #@! TD*\n");
    }
    found = useIndex_.emplace(key, uses_.size()).first;
    uses_.push_back({number->second, diameter, feature.function, feature.file, feature.code, feature.size, 0});
  }
  lastUse_ = found->second;
  haveLast_ = true;
  ++uses_[lastUse_].uses;
  return uses_[lastUse_].number;
}

void GerberWriter::Coordinates(const Feature& feature, geometry::Point at, std::string_view operation) {
  const std::pair<std::string_view, std::int32_t> axes[] = {{"X", at.x}, {"Y", at.y}};
  for (const auto& [axis, value] : axes) {
    if (value <= -kCoordinateLimit || value >= kCoordinateLimit) {
      FailAt(sources_.Name(feature.file), feature.offset,
             Telling(Text::CoordinateTooLarge, {{"axis", std::string(axis)},
                                                {"value", FormatDecimal(value, 3)},
                                                {"format", std::string(kFormatStatement)}}));
    }
  }
  char line[64];
  char* end = line;
  *end++ = 'X';
  end = Digits(end, std::int64_t{at.x} * 1000);
  *end++ = 'Y';
  end = Digits(end, std::int64_t{at.y} * 1000);
  for (const char c : operation) *end++ = c;
  *end++ = '\n';
  out_.Put(std::string_view(line, static_cast<std::size_t>(end - line)));
  at_ = at;
}

void GerberWriter::Add(const Feature& feature) {
  const std::int32_t number = Aperture(feature);
  if (number != selected_) {
    out_.Put("D", number, "*\n");
    selected_ = number;
  }
  if (feature.kind == FeatureKind::Stroke) {
    if (at_ != feature.stroke.from) Coordinates(feature, feature.stroke.from, "D02*");
    Coordinates(feature, feature.stroke.to, "D01*");
  } else {
    Coordinates(feature, feature.disc.centre, "D03*");
  }
}

void GerberWriter::Finish() {
  if (numbers_.empty()) {
    // Readers take a file without an aperture definition for RS-274-D.
    out_.Put("G04 no features: one aperture, so that every reader takes this for RS-274X*\n");
    out_.Put("%ADD10C,0.100*%\n");
  }
  out_.Put("M02*\n");
}

ExcellonWriter::ExcellonWriter(OutFile& out, const FabLayer& layer, int copperLayers, const Heading& heading,
                               const std::set<std::int32_t>& tools, const Settings& settings,
                               const SourceFiles& sources)
    : out_(out) {
  out_.Put("M48\n");
  std::string title;
  for (const char c : heading.title) title += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
  out_.Put("; " + title + "\n");
  Attribute(out_, "; #@! ", "TF.GenerationSoftware", GenerationSoftware(), "\n");
  if (heading.creationDate) Attribute(out_, "; #@! ", "TF.CreationDate", *heading.creationDate, "\n");
  Attribute(out_, "; #@! ", "TF.FileFunction", FileFunctionText(layer, copperLayers), "\n");
  // Coordinates carry a decimal point; the zero statement is there for readers that
  // would otherwise guess (and warn).
  out_.Put("METRIC,LZ\n");
  const Renumbering numbers(settings.ToolList, kLowestTool, kHighestTool, "drill tool");
  std::map<std::int32_t, ApertureUse> byNumber;
  for (const std::int32_t code : tools) {
    const CodeSize size = SizeOfCode(settings, SizeList::Tool, code, sources.Name(Output::Drill));
    byNumber[numbers(code)] = {numbers(code), size.micrometres, AperFunction::None, Output::Drill, code, size, 0};
  }
  for (const auto& [number, use] : byNumber) {
    out_.Put("T", number, "C");
    out_.Put(FormatDecimal(use.diameter, 3));
    out_.Put("\n");
    useIndex_[use.code] = uses_.size();
    uses_.push_back(use);
  }
  // M95 ends the header: one reader stops reading at a "%" there.
  out_.Put("M95\nG90\n");
}

void ExcellonWriter::Add(const Feature& feature) {
  // The drill file was read for every tool a hit of this file uses.
  ApertureUse& use = uses_[useIndex_.at(feature.code)];
  ++use.uses;
  if (use.number != selected_) {
    out_.Put("T", use.number, "\n");
    selected_ = use.number;
  }
  char line[48];
  char* end = line;
  *end++ = 'X';
  end = Millimetres(end, feature.disc.centre.x);
  *end++ = 'Y';
  end = Millimetres(end, feature.disc.centre.y);
  *end++ = '\n';
  out_.Put(std::string_view(line, static_cast<std::size_t>(end - line)));
}

void ExcellonWriter::Finish() { out_.Put("M30\n"); }

}  // namespace velmorta::fab
