#include "export/write/fab_writers.hpp"

#include <gtest/gtest.h>

#include "config/config_reader.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

const char kConfiguration[] = ">D0.3 10\n>D0.8 14\n>D0.5 12\n>R1.64 20\n>R0.80 21\n>T8 3\n>T12 7\n>T30 150\n";

// One converter file as the only source of a layer, written whole.
std::string Export(Output file, const std::string& text, Source source = {}, const BoardFacts& facts = {}) {
  const Settings settings = ParseConfiguration(kConfiguration);
  std::array<std::string, 7> texts, names;
  texts[IndexOf(file)] = text;
  names.fill("f.gbr");
  TextSources sources(texts, names);
  source.file = file;
  const FabLayer layer{FileFunction::Copper, Side::Top, 1, Polarity::Positive, "b.GTL", "top-copper",
                       "top copper", {source}};
  OutFile out = OutFile::InMemory();
  GerberWriter writer(out, layer, 2, Heading{"a title * 100%", {}}, sources);
  WalkLayer(layer, settings, facts, sources, writer);
  writer.Finish();
  return out.Text();
}

// The blocks after the header, separated by spaces; definitions and comments left out.
std::string ExportedBody(Output file, const std::string& text, Source source = {}, const BoardFacts& facts = {}) {
  const std::string all = Export(file, text, source, facts);
  std::string body;
  for (std::size_t start = all.find("G01*\r\n") + 6, end; (end = all.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    const std::string line = all.substr(start, end - start);
    if (line[0] == '%' || line.rfind("G04 ", 0) == 0) continue;
    body += (body.empty() ? "" : " ") + line;
  }
  return body;
}

TEST(GerberWriter, WritesTheAttributesAndDefinesEachApertureBeforeItsFirstUse) {
  EXPECT_EQ(Export(Output::BottomCopper, "G71*G90*D14*D02*G01D12*X1Y2*D01*X3Y4*D02*D0*D14*X5Y6*D01*G01X0Y0*M00*",
                   {Output::BottomCopper, Take::Everything, AperFunction::Conductor}),
            "G04 a title \\u002A 100\\u0025*\r\n"
            "G04 #@! TF.GenerationSoftware,velmorta,velmorta-export," VELMORTA_VERSION "*\r\n"
            "G04 #@! TF.FileFunction,Copper,L1,Top*\r\n"
            "G04 #@! TF.FilePolarity,Positive*\r\n"
            "%FSLAX46Y46*%\r\n%MOMM*%\r\n%LPD*%\r\nG01*\r\n"
            "G04 #@! TA.AperFunction,Conductor*\r\n%ADD10C,0.500*%\r\nG04 #@! TD*\r\n"
            "D10*\r\nX1000Y2000D02*\r\nX3000Y4000D01*\r\n"
            "G04 #@! TA.AperFunction,Conductor*\r\n%ADD11C,0.800*%\r\nG04 #@! TD*\r\n"
            "D11*\r\nX5000Y6000D02*\r\nX0Y0D01*\r\nM02*\r\n");
  // Nothing drawn: one aperture all the same, or readers take the file for RS-274-D.
  const std::string empty = Export(Output::Outline, "G71*G90*D02*G01X0Y0*M02*");
  EXPECT_EQ(empty.substr(empty.find("G01*\r\n") + 6),
            "G04 no features: one aperture, so that every reader takes this for RS-274X*\r\n"
            "%ADD10C,0.100*%\r\nM02*\r\n");
}

// RS-274-D's exposure switches become the operation codes of the coordinate blocks
// they govern: the shutter open makes the next block a stroke (D01), shut a move (D02).
TEST(GerberWriter, TranslatesEveryCommandForm) {
  const struct {
    Output file;
    const char* source;
    const char* exported;
  } kCases[] = {
      // headers and trailers alone draw nothing
      {Output::BottomCopper, "G71*G90*D14*D02*G01G01X0Y0*M00*", "M02*"},
      {Output::Lands1, "G71*G90*D02*D20*D02*G01D02*G01X0Y0*M00*", "M02*"},
      {Output::Outline, "G01X0Y0*M02*", "M02*"},
      // a stroke: a move to its start, then the stroke
      {Output::TopCopper, "D14*X1000Y2000*D01*X1000Y2540*D02*G01X0Y0*M00*",
       "D10* X1000000Y2000000D02* X1000000Y2540000D01* M02*"},
      // a chain needs no move between its strokes; a dot is a stroke of no length
      {Output::TopCopper, "G01D14*X5Y5*D01*X5Y5*D01*X6Y5*D02*G01X0Y0*M00*",
       "D10* X5000Y5000D02* X5000Y5000D01* X6000Y5000D01* M02*"},
      // a flash is one block; a negative coordinate keeps its sign
      {Output::Lands2, "G01D20*X-254Y2000*D03*D02*G01X0Y0*M00*", "D10* X-254000Y2000000D03* M02*"},
      // an open shutter strokes to the flash, and to the trailer's X0Y0
      {Output::TopCopper, "G01D14*X1Y1*D01*X2Y2*D03*G01X0Y0*M00*",
       "D10* X1000Y1000D02* X2000Y2000D01* X2000Y2000D03* M02*"},
      {Output::TopCopper, "G01D14*X1Y1*D01*G01X0Y0*M00*", "D10* X1000Y1000D02* X0Y0D01* M02*"},
      // the outline selects before every segment; the aperture stays one
      {Output::Outline, "G71*G90*D02*D12*G01X0Y50800*D01*X50800Y0*D02*D12*G01X50800Y0*D01*X0Y0*D02*G01X0Y0*M02*",
       "D10* X0Y50800000D02* X50800000Y0D01* X0Y0D01* M02*"},
      // D0 selects nothing and is left out
      {Output::BottomCopper, "G01D0*D14*X1Y1*D03*G01X0Y0*M00*", "D10* X1000Y1000D03* M02*"},
      // apertures are numbered from D10 in the order of first use, whatever the codes
      {Output::HoleDrawing, "G71*G90*D02*D3*D02*G01X1Y1*D03*D7*X2Y2*D03*D3*X3Y3*D03*D150*D02*G01X0Y0*M00*",
       "D10* X1000Y1000D03* D11* X2000Y2000D03* D10* X3000Y3000D03* M02*"},
      // the largest coordinates four integer digits hold
      {Output::BottomCopper, "G01D14*X9999999Y-9999999*D03*G01X0Y0*M00*", "D10* X9999999000Y-9999999000D03* M02*"},
  };
  for (const auto& c : kCases) EXPECT_EQ(ExportedBody(c.file, c.source), c.exported) << c.source;
}

// Lands as pads: only their flashes, each a component pad unless a through-hole is
// drilled there; grown by a mask's expansion; apertures shared by size and function.
TEST(GerberWriter, ComposesPadsByFunctionAndSize) {
  BoardFacts facts;
  facts.viaPads[0] = {false, true, false};  // the second flash is on a through-hole
  const std::string land = "G01D20*X1Y1*D03*X2Y2*D03*D21*X3Y3*D01*X4Y4*D03*D02*G01X0Y0*M00*";
  const std::string copper = Export(Output::Lands1, land, {{}, Take::Flashes, AperFunction::ComponentPad}, facts);
  EXPECT_EQ(ExportedBody(Output::Lands1, land, {{}, Take::Flashes, AperFunction::ComponentPad}, facts),
            "D10* X1000Y1000D03* D11* X2000Y2000D03* D12* X4000Y4000D03* M02*");
  for (const char* definition : {"ComponentPad*\r\n%ADD10C,1.640*%", "ViaPad*\r\n%ADD11C,1.640*%",
                                 "ComponentPad*\r\n%ADD12C,0.800*%"}) {
    EXPECT_NE(copper.find(definition), std::string::npos) << definition << "\n" << copper;
  }
  const std::string mask = Export(Output::Lands1, land, {{}, Take::Flashes, AperFunction::ComponentPad, 100}, facts);
  EXPECT_NE(mask.find("%ADD10C,1.740*%"), std::string::npos) << mask;
  EXPECT_NE(mask.find("%ADD12C,0.900*%"), std::string::npos) << mask;
}

TEST(GerberWriter, RefusesWhatItCannotExportFaithfully) {
  const struct {
    Output file;
    const char* source;
    const char* message;
  } kCases[] = {
      {Output::BottomCopper, "", "f.gbr: does not end with its trailer \"G01X0Y0*M00*\": the conversion stopped"},
      {Output::Lands1, "G71*G90*D02*D20*D02*G01X1Y1*D03*", "f.gbr: does not end with its trailer \"D02*G01X0Y0*M00*\""},
      {Output::Outline, "G71*G90*D02*D12*G01X0Y0*D01*", "does not end with its trailer \"G01X0Y0*M02*\""},
      {Output::BottomCopper, "G01X0Y0*M02*", "f.gbr: offset 0: the trailer of another kind of file (this one ends with \"G01X0Y0*M00*\")"},
      {Output::BottomCopper, "G01X0Y0*M00*G01X0Y0*M00*", "f.gbr: offset 12: text after the trailer"},
      {Output::BottomCopper, "G01X0Y0*M00*D14*", "offset 12: text after the trailer"},
      {Output::BottomCopper, "G01X1Y1*D01*X2Y2*D02*G01X0Y0*M00*", "f.gbr: offset 12: a stroke with no aperture selected"},
      {Output::BottomCopper, "D0*X1Y1*D03*G01X0Y0*M00*", "f.gbr: offset 3: a flash with no aperture selected"},
      {Output::BottomCopper, "D14*D0*X1Y1*D03*G01X0Y0*M00*", "offset 7: a flash with no aperture selected"},
      {Output::BottomCopper, "D42*G01X0Y0*M00*", ">D code 42 (f.gbr draws with it): no >D line carries this code"},
      {Output::Lands1, "D14*D02*G01X0Y0*M00*", ">R code 14 (f.gbr draws with it): no >R line"},
      {Output::HoleDrawing, "D20*D02*G01X0Y0*M00*", ">T code 20 (f.gbr draws with it): no >T line"},
      {Output::BottomCopper, "D14*X10000000Y0*D03*G01X0Y0*M00*",
       "f.gbr: offset 4: X coordinate 10000.000 mm does not fit the four integer digits of %FSLAX46Y46*%"},
      {Output::BottomCopper, "D14*X0Y-10000000*D03*G01X0Y0*M00*", "offset 4: Y coordinate -10000.000 mm does not fit"},
      {Output::BottomCopper, "D14*X1Y1*D03*Q*G01X0Y0*M00*", "f.gbr: offset 13: not a command the converter writes"},
  };
  for (const auto& c : kCases) {
    try {
      Export(c.file, c.source);
      ADD_FAILURE() << c.source << " was accepted";
    } catch (const ExportError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace velmorta::fab
