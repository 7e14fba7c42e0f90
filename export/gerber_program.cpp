#include "export/gerber_program.hpp"

#include <string>

#include "export/export_error.hpp"
#include "export/text_scan.hpp"

namespace velmorta::fab {

Trailer TrailerOf(Output file) {
  switch (file) {
    case Output::Outline: return Trailer::End;
    case Output::Lands1:
    case Output::Lands2:
    case Output::HoleDrawing: return Trailer::OffStop;
    case Output::BottomCopper:
    case Output::TopCopper:
    case Output::Drill: break;
  }
  return Trailer::Stop;
}

namespace {

class Reader {
 public:
  Reader(std::string_view text, std::string_view fileName) : scan_(text, fileName) {}

  void Token(const GerberToken& token) {
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
        NeedAperture(token, "a flash");
        Emit(GerberOpKind::Flash, token);
        exposed_ = false;
        break;
      case GerberTokenKind::Trailer:
        // D02* (where the trailer has it), G01, a block to X0Y0, the program stop.
        if (token.trailer == Trailer::OffStop) exposed_ = false;
        Emit(GerberOpKind::Linear, token);
        Coordinates(GerberToken{GerberTokenKind::CoordinateOff, token.offset, 0, 0, 0, {}});
        Emit(GerberOpKind::End, token);
        break;
    }
  }

  GerberProgram Result() { return std::move(program_); }

 private:
  // A coordinate block: the shutter decides between a stroke and a move.
  void Coordinates(const GerberToken& token) {
    if (exposed_) NeedAperture(token, "a stroke");
    Emit(exposed_ ? GerberOpKind::Draw : GerberOpKind::Move, token);
  }

  void NeedAperture(const GerberToken& token, std::string_view what) const {
    if (aperture_ != 0) return;
    scan_.Fail(token.offset, std::string(what) + " with no aperture selected (D0, or none yet)");
  }

  void Emit(GerberOpKind kind, const GerberToken& token, std::int32_t code = 0) {
    program_.ops.push_back(GerberOp{kind, token.offset, code, token.x, token.y});
  }

  TextScan scan_;  // for its error messages
  GerberProgram program_;
  bool exposed_ = false;
  std::int32_t aperture_ = 0;
};

}  // namespace

GerberProgram ReadGerber(std::string_view text, Output file, std::string_view fileName) {
  const std::vector<GerberToken> tokens = TokenizeGerber(text, fileName);
  const TextScan scan(text, fileName);
  const Trailer expected = TrailerOf(file);
  for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
    if (tokens[i].kind == GerberTokenKind::Trailer) scan.Fail(tokens[i + 1].offset, "text after the trailer");
  }
  if (tokens.empty() || tokens.back().kind != GerberTokenKind::Trailer) {
    throw ExportError(std::string(fileName) + ": does not end with its trailer \"" +
                      std::string(TraitsOf(file).trailer) +
                      "\": the conversion stopped before it finished (see the run log)");
  }
  if (tokens.back().trailer != expected) {
    scan.Fail(tokens.back().offset, "the trailer of another kind of file (this one ends with \"" +
                                        std::string(TraitsOf(file).trailer) + "\")");
  }
  Reader reader(text, fileName);
  for (const GerberToken& token : tokens) reader.Token(token);
  return reader.Result();
}

}  // namespace velmorta::fab
