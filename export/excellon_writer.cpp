#include "export/excellon_writer.hpp"

#include <map>

#include "export/model/decimal.hpp"
#include "export/line_text.hpp"

namespace velmorta::fab {
std::string WriteExcellon(const DrillProgram& program, const CodeTable& tools, std::string_view title) {
  std::string out;
  AppendLine(out, "M48");
  std::string comment;
  for (const char c : title) comment += static_cast<unsigned char>(c) < 0x20 ? '_' : c;
  AppendLine(out, "; ", comment);
  AppendLine(out, "METRIC");
  std::map<std::int32_t, const UsedCode*> byNumber;
  for (const auto& [code, used] : tools) byNumber[used.number] = &used;
  for (const auto& [number, used] : byNumber) {
    AppendLine(out, "T", std::to_string(number), "C", FormatDecimal(used->size.micrometres, 3));
  }
  AppendLine(out, "%");
  for (const DrillOp& op : program.ops) {
    switch (op.kind) {
      case DrillOpKind::Absolute: AppendLine(out, "G90"); break;
      case DrillOpKind::Select: AppendLine(out, "T", std::to_string(tools.at(op.tool).number)); break;
      case DrillOpKind::Hit: AppendLine(out, "X", FormatDecimal(op.x, 3), "Y", FormatDecimal(op.y, 3)); break;
      case DrillOpKind::End: AppendLine(out, "M30"); break;
    }
  }
  return out;
}

}  // namespace velmorta::fab
