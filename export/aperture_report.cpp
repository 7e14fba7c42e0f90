#include "export/aperture_report.hpp"

#include <algorithm>
#include <tuple>

#include "export/decimal.hpp"

namespace velmorta::fab {
namespace {

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

struct Row {
  SizeList list;
  std::int32_t code;
  int file;
  std::string text;
};

}  // namespace

std::string WriteReport(const std::vector<ReportLayer>& layers) {
  std::vector<Row> rows;
  for (const ReportLayer& layer : layers) {
    const SizeList list = ListOf(layer.file);
    const std::string prefix = layer.file == Output::Drill ? "T" : "D";
    for (const auto& [code, used] : *layer.codes) {
      rows.push_back({list, code, static_cast<int>(layer.file),
                      std::string(ListName(list)) + "," + std::to_string(code) + "," + std::to_string(used.size.key) +
                          "," + FormatDecimal(used.size.micrometres, 3) + "," + CsvField(layer.name) + "," + prefix +
                          std::to_string(used.number) + "," + std::to_string(used.uses)});
    }
  }
  std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
    return std::tie(a.list, a.code, a.file) < std::tie(b.list, b.code, b.file);
  });
  std::string out = "list,code,key,size_mm,file,exported_as,uses\r\n";
  for (const Row& row : rows) out += row.text + "\r\n";
  return out;
}

}  // namespace velmorta::fab
