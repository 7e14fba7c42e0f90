#include "export/read/gerber_program.hpp"

#include <string>

#include "export/read/export_error.hpp"
#include "export/read/text_scan.hpp"

namespace velmorta::fab {

Trailer TrailerOf(Output file) {
  // The outputs' table spells each file's trailer; the token's kind is read from it.
  const std::string_view trailer = TraitsOf(file).trailer;
  if (trailer == kFlashTrailer) return Trailer::OffStop;
  if (trailer == kOutlineTrailer) return Trailer::End;
  return Trailer::Stop;
}

bool GerberReader::Next(GerberOp& op) {
  while (next_ == count_) {
    if (ended_) return false;
    next_ = count_ = 0;
    GerberToken token;
    if (!NextGerberToken(scan_, token)) {
      throw ExportError(Text::NoTrailer,
                        {{"file", std::string(scan_.FileName())}, {"trailer", std::string(TraitsOf(file_).trailer)}});
    }
    Token(token);
  }
  op = pending_[next_++];
  return true;
}

void GerberReader::Token(const GerberToken& token) {
  switch (token.kind) {
    case GerberTokenKind::Millimetres:
    case GerberTokenKind::Absolute: break;
    case GerberTokenKind::ExposureOff: exposed_ = false; break;
    case GerberTokenKind::Select:
      aperture_ = token.value;
      if (token.value != 0) Emit(GerberOpKind::Select, token, token.value);
      break;
    case GerberTokenKind::Linear: Emit(GerberOpKind::Linear, token); break;
    case GerberTokenKind::CoordinateOn:
      Coordinates(token);
      exposed_ = true;
      break;
    case GerberTokenKind::CoordinateOff:
      Coordinates(token);
      exposed_ = false;
      break;
    case GerberTokenKind::CoordinateFlash:
      // The flash block itself moves there; an open shutter strokes there first.
      if (exposed_) Coordinates(token);
      NeedAperture(token, Text::AFlash);
      Emit(GerberOpKind::Flash, token);
      exposed_ = false;
      break;
    case GerberTokenKind::Trailer: {
      if (token.trailer != TrailerOf(file_)) {
        scan_.Fail(token.offset, Text::TrailerOfAnother, {{"trailer", std::string(TraitsOf(file_).trailer)}});
      }
      // Nothing may follow it.
      const std::size_t end = scan_.Offset();
      if (!scan_.AtEnd()) scan_.Fail(end, Text::TextAfterTrailer);
      // D02* (where the trailer has it), G01, a block to X0Y0, the program stop.
      if (token.trailer == Trailer::OffStop) exposed_ = false;
      Emit(GerberOpKind::Linear, token);
      Coordinates(GerberToken{GerberTokenKind::CoordinateOff, token.offset, 0, 0, 0, {}});
      Emit(GerberOpKind::End, token);
      ended_ = true;
      break;
    }
  }
}

// A coordinate block: the shutter decides between a stroke and a move.
void GerberReader::Coordinates(const GerberToken& token) {
  if (exposed_) NeedAperture(token, Text::AStroke);
  Emit(exposed_ ? GerberOpKind::Draw : GerberOpKind::Move, token);
}

void GerberReader::NeedAperture(const GerberToken& token, Text what) const {
  if (aperture_ != 0) return;
  scan_.Fail(token.offset, Text::NoApertureSelected, {{"what", what}});
}

void GerberReader::Emit(GerberOpKind kind, const GerberToken& token, std::int32_t code) {
  pending_[count_++] = GerberOp{kind, token.offset, code, token.x, token.y};
}

GerberProgram ReadGerber(std::string_view text, Output file, std::string_view fileName) {
  TextScan scan(text, fileName);
  GerberReader reader(scan, file);
  GerberProgram program;
  for (GerberOp op; reader.Next(op);) program.ops.push_back(op);
  return program;
}

}  // namespace velmorta::fab
