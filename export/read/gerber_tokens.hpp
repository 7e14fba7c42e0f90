#pragma once
// The converter's Gerber vocabulary, and nothing else: the file headers, aperture
// selections, "G01", the stroke and flash blocks and the three trailers. The files have
// no line breaks; any other byte is an error with its offset.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velmorta::fab {

enum class GerberTokenKind {
  Millimetres,   // "G71*"
  Absolute,      // "G90*"
  ExposureOff,   // "D02*" standing alone (headers)
  Select,        // "D%ld*": aperture `value`
  Linear,        // "G01", joined to the block after it
  CoordinateOn,  // "X%ldY%ld*D01*": move, then exposure on
  CoordinateOff, // "X%ldY%ld*D02*": move, then exposure off
  CoordinateFlash, // "X%ldY%ld*D03*": move, then flash
  Trailer,
};

enum class Trailer {
  End,      // "G01X0Y0*M02*": the outline
  OffStop,  // "D02*G01X0Y0*M00*": land files and the hole drawing
  Stop,     // "G01X0Y0*M00*": the copper files
};

struct GerberToken {
  GerberTokenKind kind{};
  std::size_t offset = 0;
  std::int32_t value = 0;  // Select
  std::int32_t x = 0, y = 0;  // Coordinate*
  Trailer trailer{};       // Trailer
};

class TextScan;

// The next command into `token`; false at the end of the text. Throws ExportError
// naming the file and the offset of unknown text.
bool NextGerberToken(TextScan& scan, GerberToken& token);

// Every command of a whole text.
std::vector<GerberToken> TokenizeGerber(std::string_view text, std::string_view fileName);

}  // namespace velmorta::fab
