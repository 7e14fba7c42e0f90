#include "driver/conversion.hpp"

#include "board/pad_reader.hpp"
#include "emit/emit_layers.hpp"

namespace velmorta {

Board Convert(std::FILE* pad, const Settings& settings, OutputSet& out, Diagnostics& diagnostics) {
  Board board = ReadPadFile(pad, settings, out, diagnostics);
  EmitLayers(board, settings, out, diagnostics);
  return board;
}

std::string ReasonOf(const FatalStop& stop, const std::string& configurationPath, Language language) {
  if (!stop.detail.empty()) return stop.detail;
  const std::string file = NameIn(language, configurationPath);
  const auto said = [&](Text key) { return Say(language, key, {{"file", file}}); };
  switch (stop.message) {
    case Message::BadLineWidthDefault: return said(Text::NoLineWidthCode);
    case Message::BadFixedLandDefault: return said(Text::NoFixedLandCode);
    case Message::BadAuxLandDefault: return said(Text::NoAuxLandLine);
    case Message::BadHoleDefault: return said(Text::NoDrillCode);
    case Message::BadApertureSetting: return said(Text::NoSizeCode);
    default: return file;
  }
}

}  // namespace velmorta
