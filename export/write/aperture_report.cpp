#include "export/write/aperture_report.hpp"

#include <algorithm>
#include <tuple>

#include "export/model/decimal.hpp"

namespace velmorta::fab {
namespace {

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

std::string WriteReport(const std::vector<ReportLayer>& layers) {
  std::string out = "file,exported_as,function,size_mm,source,list,code,key,uses\n";
  for (const ReportLayer& layer : layers) {
    std::vector<ApertureUse> uses = layer.uses;
    std::stable_sort(uses.begin(), uses.end(), [](const ApertureUse& a, const ApertureUse& b) {
      return std::tie(a.number, a.file, a.code) < std::tie(b.number, b.file, b.code);
    });
    for (const ApertureUse& use : uses) {
      const std::string_view function = AperFunctionText(use.function);
      out += CsvField(layer.name) + "," + (layer.drill ? "T" : "D") + std::to_string(use.number) + "," +
             std::string(function) + "," + FormatDecimal(use.diameter, 3) + "," +
             CsvField(layer.sources[IndexOf(use.file)]) + "," + std::string(ListName(ListOf(use.file))) + "," +
             std::to_string(use.code) + "," + std::to_string(use.size.key) + "," + std::to_string(use.uses) + "\n";
    }
  }
  return out;
}

}  // namespace velmorta::fab
