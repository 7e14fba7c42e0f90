#include "emit/emit_layers.hpp"

#include "driver/messages.hpp"
#include "driver/run.hpp"
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
  out[Output::Outline].Put("G01X0Y0*M02*");
  out[Output::Lands1].Put("D02*G01X0Y0*M00*");
  out[Output::Lands2].Put("D02*G01X0Y0*M00*");
  out[Output::HoleDrawing].Put("D02*G01X0Y0*M00*");
  out[Output::BottomCopper].Put("G01X0Y0*M00*");
  out[Output::TopCopper].Put("G01X0Y0*M00*");
  out[Output::Drill].Put("M02\n");
}

}  // namespace

std::int32_t AdjustedMargin(const Board& board, const Settings& settings) {
  const bool outlineGaveNeither = board.MinXSource == 1 && board.MaxYSource == 1;
  return outlineGaveNeither ? Wrap32(std::int64_t{settings.Margin} + 5080) : settings.Margin;
}

void EmitLayers(const Board& board, const Settings& settings, OutputSet& out, OutFile& runLog) {
  Emission e(board, settings, out, AdjustedMargin(board, settings));  // 1
  const bool fixed = e.ApertureMode() == "L1";
  const bool doubleSided = board.DoubleSided();
  const bool auxLands = settings.AuxLandMode() == "L3";

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
  if (auxLands) EmitAuxiliaryLands(e, LineFamily::Bottom);            // 16
  if (auxLands && doubleSided) EmitAuxiliaryLands(e, LineFamily::Top);  // 17
  WriteTrailers(out);                                                 // 18
  runLog.Put(Bytes(Message::ConversionComplete));                     // 19
  runLog.Put("\n");
  WriteClosingBanner(runLog);
}

}  // namespace velmorta
