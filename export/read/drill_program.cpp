#include "export/read/drill_program.hpp"

#include <string>

#include "export/read/drill_tokens.hpp"
#include "export/read/export_error.hpp"
#include "export/read/text_scan.hpp"

namespace velmorta::fab {

bool DrillReader::Next(DrillOp& op) {
  for (;;) {
    if (ended_) return false;
    DrillToken token;
    if (!NextDrillToken(scan_, token)) {
      throw ExportError(Text::NoTrailer, {{"file", std::string(scan_.FileName())}, {"trailer", "M02"}});
    }
    switch (token.kind) {
      case DrillTokenKind::Absolute: op = {DrillOpKind::Absolute, token.offset}; return true;
      case DrillTokenKind::Origin: break;
      case DrillTokenKind::Tool:
      case DrillTokenKind::ToolChange:
        tool_ = token.value;
        if (tool_ != 0) {
          op = {DrillOpKind::Select, token.offset, tool_};
          return true;
        }
        break;
      case DrillTokenKind::Hit:
      case DrillTokenKind::ThroughHit:
        if (tool_ == 0) scan_.Fail(token.offset, Text::HitWithNoTool);
        op = {DrillOpKind::Hit, token.offset, tool_, token.x, token.y, token.kind == DrillTokenKind::ThroughHit};
        return true;
      case DrillTokenKind::End: {
        const std::size_t end = scan_.Offset();
        if (!scan_.AtEnd()) scan_.Fail(end, Text::TextAfterTrailer);
        ended_ = true;
        op = {DrillOpKind::End, token.offset};
        return true;
      }
    }
  }
}

DrillProgram ReadDrill(std::string_view text, std::string_view fileName) {
  TextScan scan(text, fileName);
  DrillReader reader(scan);
  DrillProgram program;
  for (DrillOp op; reader.Next(op);) program.ops.push_back(op);
  return program;
}

}  // namespace velmorta::fab
