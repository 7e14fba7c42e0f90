#pragma once
// What a converter Gerber file does, read with RS-274-D's modal exposure: "D01*" opens
// the shutter and "D02*" closes it, so a coordinate block draws while it is open and
// moves while it is shut, and "D03*" flashes. Each operation here becomes one RS-274X
// block.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/output_set.hpp"
#include "catalog/catalog.hpp"
#include "export/read/gerber_tokens.hpp"

namespace velmorta::fab {

class TextScan;

enum class GerberOpKind {
  Select,  // aperture `code` (never 0)
  Linear,  // linear interpolation
  Move,    // to (x, y), exposure off
  Draw,    // a stroke from the current point to (x, y)
  Flash,   // at (x, y)
  End,     // end of the file
};

struct GerberOp {
  GerberOpKind kind{};
  std::size_t offset = 0;  // of the source command
  std::int32_t code = 0;
  std::int32_t x = 0, y = 0;
};

// The trailer that the converter ends Gerber file `file` with.
Trailer TrailerOf(Output file);

// Reads a file one operation at a time. "G71*" and "G90*" leave no operation (the
// exported header states millimetres and absolute coordinates), neither do the
// exposure switches (they decide whether the next coordinate block moves or draws) nor
// "D0*", which selects no aperture. Errors, naming the file: unknown text, a stroke or
// flash with no aperture selected, a missing or foreign trailer, anything after it.
class GerberReader {
 public:
  GerberReader(TextScan& scan, Output file) : scan_(scan), file_(file) {}

  // The next operation; false after End.
  bool Next(GerberOp& op);

 private:
  void Token(const GerberToken& token);
  void Coordinates(const GerberToken& token);
  void NeedAperture(const GerberToken& token, Text what) const;
  void Emit(GerberOpKind kind, const GerberToken& token, std::int32_t code = 0);

  TextScan& scan_;
  Output file_;
  // The operations of one command: a trailer makes three.
  GerberOp pending_[3];
  std::size_t count_ = 0, next_ = 0;
  bool ended_ = false;
  bool exposed_ = false;
  std::int32_t aperture_ = 0;
};

// A whole text read at once, for tests.
struct GerberProgram {
  std::vector<GerberOp> ops;
};
GerberProgram ReadGerber(std::string_view text, Output file, std::string_view fileName);

}  // namespace velmorta::fab
