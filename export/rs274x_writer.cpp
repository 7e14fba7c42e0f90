#include "export/rs274x_writer.hpp"

#include <map>

#include "export/decimal.hpp"
#include "export/line_text.hpp"
#include "export/text_scan.hpp"

namespace velmorta::fab {
namespace {

constexpr std::int64_t kCoordinateLimit = 10'000'000;  // 10^4 mm in 0.001 mm

// Text in a G04 comment may hold neither the block end nor the parameter delimiter.
std::string CommentText(std::string_view text) {
  std::string out;
  for (const char c : text) out += (c == '*' || c == '%' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
  return out;
}

class Writer {
 public:
  explicit Writer(std::string_view fileName) : fileName_(fileName) {}

  template <typename... Pieces>
  void Line(const Pieces&... pieces) {
    AppendLine(out_, pieces...);
  }

  std::string Coordinate(std::string_view axis, std::int32_t value, const GerberOp& op) const {
    if (value <= -kCoordinateLimit || value >= kCoordinateLimit) {
      FailAt(fileName_, op.offset, std::string(axis) + " coordinate " + FormatDecimal(value, 3) +
                               " mm does not fit the four integer digits of " + std::string(kFormatStatement));
    }
    return std::string(axis) + std::to_string(std::int64_t{value} * 1000);
  }

  void Block(const GerberOp& op, std::string_view operation) {
    Line(Coordinate("X", op.x, op), Coordinate("Y", op.y, op), operation);
  }

  std::string Take() { return std::move(out_); }

 private:
  std::string_view fileName_;
  std::string out_;
};

}  // namespace

std::string SizeText(std::int64_t micrometres) { return FormatDecimal(micrometres, 3); }

std::string WriteRs274x(const GerberProgram& program, const CodeTable& codes, std::string_view title,
                        std::string_view fileName) {
  Writer out(fileName);
  out.Line("G04 ", CommentText(title), "*");
  out.Line(kFormatStatement);
  out.Line("%MOMM*%");
  std::map<std::int32_t, std::int64_t> apertures;  // by exported number
  for (const auto& [code, used] : codes) apertures[used.number] = used.size.micrometres;
  for (const auto& [number, micrometres] : apertures) {
    out.Line("%ADD", std::to_string(number), "C,", SizeText(micrometres), "*%");
  }
  // RS-274X wants the interpolation mode stated before the first stroke; the converter
  // states it in its headers, which a file without its section lacks.
  for (const GerberOp& op : program.ops) {
    if (op.kind == GerberOpKind::Linear) break;
    if (op.kind == GerberOpKind::Draw) {
      out.Line("G01*");
      break;
    }
  }
  for (const GerberOp& op : program.ops) {
    switch (op.kind) {
      case GerberOpKind::Select: out.Line("D", std::to_string(codes.at(op.code).number), "*"); break;
      case GerberOpKind::Linear: out.Line("G01*"); break;
      case GerberOpKind::Move: out.Block(op, "D02*"); break;
      case GerberOpKind::Draw: out.Block(op, "D01*"); break;
      case GerberOpKind::Flash: out.Block(op, "D03*"); break;
      case GerberOpKind::End: out.Line("M02*"); break;
    }
  }
  return out.Take();
}

}  // namespace velmorta::fab
