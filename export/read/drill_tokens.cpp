#include "export/read/drill_tokens.hpp"

#include "export/read/text_scan.hpp"

namespace velmorta::fab {

bool NextDrillToken(TextScan& scan, DrillToken& token) {
  if (scan.AtEnd()) return false;
  token = DrillToken{};
  token.offset = scan.Offset();
  // Hits are most of a file: they are tried first.
  if (scan.Take("X")) {
    const auto x = scan.TakeNumber();
    const auto y = x && scan.Take("Y") ? scan.TakeNumber() : std::nullopt;
    if (!y) scan.Fail(token.offset, Text::NotADrillHit);
    if (scan.Take("M05")) {
      token.kind = DrillTokenKind::Hit;
    } else if (scan.Take("*M05")) {
      token.kind = DrillTokenKind::ThroughHit;
    } else if (*x == 0 && *y == 0 && scan.At("\r\n")) {
      token.kind = DrillTokenKind::Origin;
    } else {
      scan.Fail(token.offset, Text::HitWithoutM05);
    }
    token.x = *x;
    token.y = *y;
  } else if (scan.Take("G90")) {
    token.kind = DrillTokenKind::Absolute;
  } else if (scan.Take("M02")) {
    token.kind = DrillTokenKind::End;
  } else if (scan.Take("T")) {
    const auto tool = scan.TakeNumber();
    if (!tool) scan.Fail(token.offset, Text::NotAToolSelection);
    token.kind = scan.Take("*") ? DrillTokenKind::ToolChange : DrillTokenKind::Tool;
    token.value = *tool;
  } else {
    scan.Fail(token.offset, Text::NotACommand);
  }
  if (!scan.Take("\r\n")) {
    scan.Fail(scan.Offset(), scan.AtEnd() ? Text::NoCrLfAtEnd : Text::TextAfterCommand);
  }
  return true;
}

std::vector<DrillToken> TokenizeDrill(std::string_view text, std::string_view fileName) {
  std::vector<DrillToken> tokens;
  TextScan scan(text, fileName);
  for (DrillToken token; NextDrillToken(scan, token);) tokens.push_back(token);
  return tokens;
}

}  // namespace velmorta::fab
