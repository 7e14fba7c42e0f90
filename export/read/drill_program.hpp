#pragma once
// What a converter drill file does: tool selections and hits, in file order.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velmorta::fab {

class TextScan;

enum class DrillOpKind {
  Absolute,  // absolute coordinates
  Select,    // tool `tool` (never 0)
  Hit,       // a hole at (x, y) with the tool in force
  End,
};

struct DrillOp {
  DrillOpKind kind{};
  std::size_t offset = 0;
  std::int32_t tool = 0;
  std::int32_t x = 0, y = 0;
  bool through = false;  // a Hit of a through-hole ("*M05")
};

// Reads a drill file one operation at a time. The header's "X0Y0" drills nothing and
// leaves no operation, nor does "T0", which selects no tool; both kinds of hit are
// hits. Errors, naming the file: unknown text, a hit with no tool, a missing "M02"
// trailer, anything after it.
class DrillReader {
 public:
  explicit DrillReader(TextScan& scan) : scan_(scan) {}

  // The next operation; false after End.
  bool Next(DrillOp& op);

 private:
  TextScan& scan_;
  bool ended_ = false;
  std::int32_t tool_ = 0;
};

// A whole text read at once, for tests.
struct DrillProgram {
  std::vector<DrillOp> ops;
};
DrillProgram ReadDrill(std::string_view text, std::string_view fileName);

}  // namespace velmorta::fab
