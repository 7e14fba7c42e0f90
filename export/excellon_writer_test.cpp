#include "export/excellon_writer.hpp"

#include <gtest/gtest.h>

#include "config/config_reader.hpp"
#include "export/export_error.hpp"

namespace velmorta::fab {
namespace {

std::string Export(const std::string& text) {
  const Settings settings = ParseConfiguration(">T8 3\n>T14 9\n>T30 150\n>T12 7\n");
  const DrillProgram program = ReadDrill(text, "d.drl");
  return WriteExcellon(program, DrillCodes(program, settings, "d.drl"), "a title");
}

// Every tool selected is in the table, with three decimals; tool 150 is beyond two
// digits and takes the lowest free number; the header's X0Y0 drills nothing; both kinds
// of hit become millimetres with a decimal point, in their order.
TEST(ExcellonWriter, WritesTheToolTableAndTheHitsInMillimetres) {
  EXPECT_EQ(Export("G90\r\nX0Y0\r\nT9\r\nT3\r\nX12620Y35480M05\r\nX-254Y0*M05\r\nT150*\r\nX1Y2M05\r\n"
                   "T0\r\nT3*\r\nX5Y-5M05\r\nM02\r\n"),
            "M48\r\n"
            "; a title\r\n"
            "METRIC\r\n"
            "T1C3.000\r\n"
            "T3C0.800\r\n"
            "T9C1.400\r\n"
            "%\r\n"
            "G90\r\n"
            "T9\r\n"
            "T3\r\n"
            "X12.620Y35.480\r\n"
            "X-0.254Y0.000\r\n"
            "T1\r\n"
            "X0.001Y0.002\r\n"
            "T3\r\n"
            "X0.005Y-0.005\r\n"
            "M30\r\n");
  // A board without parts has a drill file of its trailer alone.
  EXPECT_EQ(Export("M02\r\n"), "M48\r\n; a title\r\nMETRIC\r\n%\r\nM30\r\n");
}

TEST(ExcellonWriter, RefusesWhatItCannotExportFaithfully) {
  const struct {
    const char* source;
    const char* message;
  } kCases[] = {
      {"", "d.drl: does not end with its trailer \"M02\": the conversion stopped"},
      {"G90\r\nX0Y0\r\nT9\r\nX1Y1M05\r\n", "d.drl: does not end with its trailer \"M02\""},
      {"M02\r\nT3\r\n", "d.drl: offset 5: text after the trailer"},
      {"X1Y1M05\r\nM02\r\n", "d.drl: offset 0: a hit with no tool selected"},
      {"G90\r\nT0\r\nX1Y1M05\r\nM02\r\n", "d.drl: offset 9: a hit with no tool selected"},
      {"T3\r\nT0*\r\nX1Y1*M05\r\nM02\r\n", "d.drl: offset 9: a hit with no tool selected"},
      {"T5\r\nM02\r\n", "d.drl: code 5 of the tool list: no list entry carries this code"},
      {"G90\r\nM02\n", "d.drl: offset 8: text after the command, where CR LF should end the line"},
  };
  for (const auto& c : kCases) {
    try {
      Export(c.source);
      ADD_FAILURE() << c.source << " was accepted";
    } catch (const ExportError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace velmorta::fab
