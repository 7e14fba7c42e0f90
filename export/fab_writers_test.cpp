#include "export/rs274x_writer.hpp"

#include <gtest/gtest.h>

#include "config/config_reader.hpp"
#include "export/export_error.hpp"

namespace velmorta::fab {
namespace {

const char kConfiguration[] = ">D0.3 10\n>D0.8 14\n>D0.5 12\n>R1.64 20\n>T8 3\n>T12 7\n>T30 150\n";

// A converter file read and exported: the whole RS-274X text.
std::string Export(Output file, const std::string& text) {
  const Settings settings = ParseConfiguration(kConfiguration);
  const GerberProgram program = ReadGerber(text, file, "f.gbr");
  return WriteRs274x(program, GerberCodes(program, settings, file, "f.gbr"), "a title", "f.gbr");
}

// The exported blocks after the header statements, separated by spaces.
std::string ExportedBody(Output file, const std::string& text) {
  const std::string all = Export(file, text);
  std::string body;
  for (std::size_t start = 0, end; (end = all.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = all.substr(start, end - start);
    if (line[0] == '%' || line.rfind("G04 ", 0) == 0) continue;
    body += (body.empty() ? "" : " ") + line;
  }
  return body;
}

TEST(Rs274xWriter, WritesTheHeaderAndOneApertureForEveryCodeSelected) {
  EXPECT_EQ(Export(Output::BottomCopper, "G71*G90*D14*D02*G01D12*X1Y2*D03*D0*D14*G01X0Y0*M00*"),
            "G04 a title*\r\n"
            "%FSLAX46Y46*%\r\n"
            "%MOMM*%\r\n"
            "%ADD12C,0.500*%\r\n"
            "%ADD14C,0.800*%\r\n"
            "D14*\r\nG01*\r\nD12*\r\nX1000Y2000D03*\r\nD14*\r\nG01*\r\nX0Y0D02*\r\nM02*\r\n");
}

// RS-274-D's exposure switches become the operation codes of the coordinate blocks
// they govern: the shutter open makes the next block a stroke (D01), shut a move (D02).
TEST(Rs274xWriter, TranslatesEveryCommandForm) {
  const struct {
    Output file;
    const char* source;
    const char* exported;
  } kCases[] = {
      // headers: G71 and G90 are stated by the header statements, D02 shuts the shutter
      {Output::BottomCopper, "G71*G90*D14*D02*G01G01X0Y0*M00*", "D14* G01* G01* X0Y0D02* M02*"},
      {Output::Lands1, "G71*G90*D02*D20*D02*G01D02*G01X0Y0*M00*", "D20* G01* G01* X0Y0D02* M02*"},
      {Output::Outline, "G71*G90*D02*G01X0Y0*M02*", "G01* X0Y0D02* M02*"},
      {Output::Outline, "G01X0Y0*M02*", "G01* X0Y0D02* M02*"},
      // a stroke; without a header the interpolation mode is stated before it
      {Output::TopCopper, "D14*X1000Y2000*D01*X1000Y2540*D02*G01X0Y0*M00*",
       "G01* D14* X1000000Y2000000D02* X1000000Y2540000D01* G01* X0Y0D02* M02*"},
      // a dot: a stroke of no length
      {Output::TopCopper, "G01D14*X5Y5*D01*X5Y5*D02*G01X0Y0*M00*",
       "G01* D14* X5000Y5000D02* X5000Y5000D01* G01* X0Y0D02* M02*"},
      // a flash is one block; a negative coordinate keeps its sign
      {Output::Lands2, "G01D20*X-254Y2000*D03*D02*G01X0Y0*M00*", "G01* D20* X-254000Y2000000D03* G01* X0Y0D02* M02*"},
      // an open shutter strokes to the flash, and to the trailer's X0Y0
      {Output::TopCopper, "G01D14*X1Y1*D01*X2Y2*D03*G01X0Y0*M00*",
       "G01* D14* X1000Y1000D02* X2000Y2000D01* X2000Y2000D03* G01* X0Y0D02* M02*"},
      {Output::TopCopper, "G01D14*X1Y1*D01*G01X0Y0*M00*", "G01* D14* X1000Y1000D02* G01* X0Y0D01* M02*"},
      // the outline selects before every segment
      {Output::Outline, "G71*G90*D02*D12*G01X0Y50800*D01*X50800Y0*D02*G01X0Y0*M02*",
       "D12* G01* X0Y50800000D02* X50800000Y0D01* G01* X0Y0D02* M02*"},
      // D0 selects nothing and is left out
      {Output::BottomCopper, "G01D0*D14*X1Y1*D03*G01X0Y0*M00*", "G01* D14* X1000Y1000D03* G01* X0Y0D02* M02*"},
      // tool numbers below 10 move to free aperture numbers: 3 and 7 become 10 and 11
      {Output::HoleDrawing, "G71*G90*D02*D3*D02*G01X1Y1*D03*D7*X2Y2*D03*D150*D02*G01X0Y0*M00*",
       "D10* G01* X1000Y1000D03* D11* X2000Y2000D03* D150* G01* X0Y0D02* M02*"},
      // the largest coordinates four integer digits hold
      {Output::BottomCopper, "G01D14*X9999999Y-9999999*D03*G01X0Y0*M00*",
       "G01* D14* X9999999000Y-9999999000D03* G01* X0Y0D02* M02*"},
  };
  for (const auto& c : kCases) EXPECT_EQ(ExportedBody(c.file, c.source), c.exported) << c.source;

  EXPECT_NE(Export(Output::HoleDrawing, "G01D3*D7*D150*D02*G01X0Y0*M00*")
                .find("%ADD10C,0.800*%\r\n%ADD11C,1.200*%\r\n%ADD150C,3.000*%\r\n"),
            std::string::npos);
}

TEST(Rs274xWriter, RefusesWhatItCannotExportFaithfully) {
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
      {Output::BottomCopper, "D42*G01X0Y0*M00*", "f.gbr: code 42 of the line list: no list entry carries this code"},
      {Output::Lands1, "D14*D02*G01X0Y0*M00*", "f.gbr: code 14 of the land list: no list entry"},
      {Output::HoleDrawing, "D20*D02*G01X0Y0*M00*", "f.gbr: code 20 of the tool list: no list entry"},
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
