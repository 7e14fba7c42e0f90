#include "driver/conversion.hpp"

#include "board/pad_reader.hpp"
#include "emit/emit_layers.hpp"

namespace velmorta {

Board Convert(std::FILE* pad, const Settings& settings, OutputSet& out, Diagnostics& diagnostics) {
  Board board = ReadPadFile(pad, settings, out, diagnostics);
  EmitLayers(board, settings, out, diagnostics);
  return board;
}

std::string ReasonOf(const FatalStop& stop, const std::string& configurationPath) {
  if (!stop.detail.empty()) return stop.detail;
  switch (stop.message) {
    case Message::BadLineWidthDefault:
      return configurationPath + ": the line width default (>l) of the board's pitch has no >D line with a code";
    case Message::BadFixedLandDefault:
      return configurationPath + ": the fixed land default (>r) of the board's pitch has no >R line with a code";
    case Message::BadAuxLandDefault:
      return configurationPath + ": the auxiliary land size (>h) of the board's pitch has no >D line";
    case Message::BadHoleDefault:
      return configurationPath + ": the default drill (>d) or a hole's diameter has no >T line with a code";
    case Message::BadApertureSetting:
      return configurationPath + ": a size the board selects has no >D or >R line with a code";
    default: return configurationPath;
  }
}

}  // namespace velmorta
