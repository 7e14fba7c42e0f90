#include "export/drill_program.hpp"

#include <string>

#include "export/drill_tokens.hpp"
#include "export/export_error.hpp"
#include "export/text_scan.hpp"

namespace velmorta::fab {

DrillProgram ReadDrill(std::string_view text, std::string_view fileName) {
  const std::vector<DrillToken> tokens = TokenizeDrill(text, fileName);
  const TextScan scan(text, fileName);
  for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
    if (tokens[i].kind == DrillTokenKind::End) scan.Fail(tokens[i + 1].offset, "text after the trailer");
  }
  if (tokens.empty() || tokens.back().kind != DrillTokenKind::End) {
    throw ExportError(std::string(fileName) +
                      ": does not end with its trailer \"M02\": the conversion stopped before it "
                      "finished (see the run log)");
  }
  DrillProgram program;
  std::int32_t tool = 0;
  for (const DrillToken& token : tokens) {
    switch (token.kind) {
      case DrillTokenKind::Absolute: program.ops.push_back({DrillOpKind::Absolute, token.offset}); break;
      case DrillTokenKind::Origin: break;
      case DrillTokenKind::Tool:
      case DrillTokenKind::ToolChange:
        tool = token.value;
        if (tool != 0) program.ops.push_back({DrillOpKind::Select, token.offset, tool});
        break;
      case DrillTokenKind::Hit:
      case DrillTokenKind::ThroughHit:
        if (tool == 0) scan.Fail(token.offset, "a hit with no tool selected (T0, or none yet)");
        program.ops.push_back({DrillOpKind::Hit, token.offset, tool, token.x, token.y});
        break;
      case DrillTokenKind::End:
        program.ops.push_back({DrillOpKind::End, token.offset});
        break;
    }
  }
  return program;
}

}  // namespace velmorta::fab
