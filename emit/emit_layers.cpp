#include "emit/emit_layers.hpp"

#include "emit/copper.hpp"
#include "emit/lands_holes.hpp"
#include "plot/aux_lands.hpp"
#include "plot/free_end_lands.hpp"

namespace velmorta {
namespace {

void EmitOutline(Emission& e) {
  for (const Segment& s : e.board.AreaTable.Visible()) {
    SelectAperture(e.lines, 5, e[Output::Outline]);
    e[Output::Outline].Put("G01");
    Stroke(e[Output::Outline], e.At(s.x1, s.y1), e.At(s.x2, s.y2));
  }
}

void WriteTrailers(OutputSet& out) {
  for (const Output which : kOutputs) out[which].Put(TraitsOf(which).trailer);
}

}  // namespace

std::int32_t AdjustedMargin(const Board& board, const Settings& settings) {
  const bool outlineGaveNeither =
      board.MinXSource == ExtentSource::OtherSection && board.MaxYSource == ExtentSource::OtherSection;
  return outlineGaveNeither ? Wrap32(std::int64_t{settings.Margin} + kMarginWidening) : settings.Margin;
}

void EmitLayers(const Board& board, const Settings& settings, OutputSet& out, Diagnostics& diagnostics) {
  Emission e(board, settings, out, AdjustedMargin(board, settings), diagnostics);  // 1
  const bool fixed = e.Fixed();
  const bool doubleSided = board.DoubleSided();
  const bool auxLands = settings.AuxLands();

  EmitOutline(e);                                                     // 2
  SelectDefaultDrillTool(e);                                          // 3
  if (fixed) SelectFixedLandAperture(e);                              // 4
  EmitPartLandsFirstSide(e);                                          // 5
  if (doubleSided) EmitPartLandsSecondSide(e);                        // 6
  if (fixed || !doubleSided) SelectFixedTopLineAperture(e);           // 7
  EmitTopLines(e);                                                    // 8
  if (!doubleSided) EmitFreeEndLands(e);                              // 9
  if (doubleSided) EmitThroughHoles(e);                               // 10
  EmitTopFills(e);                                                    // 11
  EmitHoles(e);                                                       // 12
  if (fixed) SelectFixedBottomLineAperture(e);                        // 13
  EmitBottomLines(e);                                                 // 14
  EmitBottomFills(e);                                                 // 15
  if (auxLands) EmitAuxiliaryLands(e, BoardSide::First);                // 16
  if (auxLands && doubleSided) EmitAuxiliaryLands(e, BoardSide::Second);  // 17
  WriteTrailers(out);                                                 // 18
  // 19, the completion message, is the run driver's: it follows the last byte written.
}

}  // namespace velmorta
