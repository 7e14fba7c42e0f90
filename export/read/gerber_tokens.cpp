#include "export/read/gerber_tokens.hpp"

#include "base/outputs.hpp"
#include "export/read/text_scan.hpp"

namespace velmorta::fab {

bool NextGerberToken(TextScan& scan, GerberToken& token) {
  if (scan.AtEnd()) return false;
  token = GerberToken{};
  token.offset = scan.Offset();
  // Coordinate blocks are most of a file: they are tried first. Then longer commands
  // before their beginnings: the trailers begin with "D02*" and "G01".
  if (scan.Take("X")) {
    const auto x = scan.TakeNumber();
    const auto y = x && scan.Take("Y") ? scan.TakeNumber() : std::nullopt;
    if (!y) scan.Fail(token.offset, Text::NotACoordinateBlock);
    if (scan.Take("*D01*")) {
      token.kind = GerberTokenKind::CoordinateOn;
    } else if (scan.Take("*D02*")) {
      token.kind = GerberTokenKind::CoordinateOff;
    } else if (scan.Take("*D03*")) {
      token.kind = GerberTokenKind::CoordinateFlash;
    } else {
      scan.Fail(token.offset, Text::BlockWithoutD);
    }
    token.x = *x;
    token.y = *y;
  } else if (scan.Take(kFlashTrailer)) {
    token.kind = GerberTokenKind::Trailer;
    token.trailer = Trailer::OffStop;
  } else if (scan.Take(kCopperTrailer)) {
    token.kind = GerberTokenKind::Trailer;
    token.trailer = Trailer::Stop;
  } else if (scan.Take(kOutlineTrailer)) {
    token.kind = GerberTokenKind::Trailer;
    token.trailer = Trailer::End;
  } else if (scan.Take("G71*")) {
    token.kind = GerberTokenKind::Millimetres;
  } else if (scan.Take("G90*")) {
    token.kind = GerberTokenKind::Absolute;
  } else if (scan.Take("G01")) {
    token.kind = GerberTokenKind::Linear;
  } else if (scan.Take("D02*")) {
    token.kind = GerberTokenKind::ExposureOff;
  } else if (scan.Take("D")) {
    const auto code = scan.TakeNumber();
    if (!code || !scan.Take("*")) scan.Fail(token.offset, Text::NotAnApertureSelection);
    token.kind = GerberTokenKind::Select;
    token.value = *code;
  } else {
    scan.Fail(token.offset, Text::NotACommand);
  }
  return true;
}

std::vector<GerberToken> TokenizeGerber(std::string_view text, std::string_view fileName) {
  std::vector<GerberToken> tokens;
  TextScan scan(text, fileName);
  for (GerberToken token; NextGerberToken(scan, token);) tokens.push_back(token);
  return tokens;
}

}  // namespace velmorta::fab
