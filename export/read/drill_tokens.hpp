#pragma once
// The converter's drill-file vocabulary: one command per line, each line ending in
// CR LF. Any other line is an error with its offset.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velmorta::fab {

enum class DrillTokenKind {
  Absolute,     // "G90"
  Origin,       // "X0Y0" in the header: no hit
  Tool,         // "T%ld": the header tool and the default tool
  ToolChange,   // "T%ld*": a hole's tool
  Hit,          // "X%ldY%ldM05"
  ThroughHit,   // "X%ldY%ld*M05": a through-hole
  End,          // "M02"
};

struct DrillToken {
  DrillTokenKind kind{};
  std::size_t offset = 0;
  std::int32_t value = 0;  // Tool, ToolChange
  std::int32_t x = 0, y = 0;  // Hit, ThroughHit
};

class TextScan;

// The next line's command into `token`; false at the end of the text. Throws
// ExportError naming the file and the offset of a line it cannot read.
bool NextDrillToken(TextScan& scan, DrillToken& token);

// Every line of a whole text.
std::vector<DrillToken> TokenizeDrill(std::string_view text, std::string_view fileName);

}  // namespace velmorta::fab
