#include <gtest/gtest.h>

#include <string>

#include "config/config_reader.hpp"
#include "export/read/export_error.hpp"
#include "export/write/fab_writers.hpp"

namespace velmorta::fab {
namespace {

// The drill file split as the export splits it: hits on `lands` are plated.
std::string Export(const std::string& text, FileFunction function = FileFunction::NonPlated,
                   const std::vector<geometry::Point>& lands = {},
                   const std::string& tools = ">T8 3\n>T14 9\n>T30 150\n>T12 7\n") {
  const Settings settings = ParseConfiguration(tools);
  std::array<std::string, 7> texts, names;
  texts[IndexOf(Output::Drill)] = text;
  names.fill("d.drl");
  TextSources sources(texts, names);
  BoardFacts facts;
  geometry::PointSet landSet;
  for (const geometry::Point land : lands) landSet.Add(land);
  SortHits(ReadHeldDrill(sources), landSet, 2, facts);
  const bool plated = function == FileFunction::Plated;
  const FabLayer layer{function, std::nullopt, 0, Polarity::Positive, "b.drl", "holes", "holes",
                       {{Output::Drill, plated ? Take::PlatedHits : Take::UnplatedHits}}};
  OutFile out = OutFile::InMemory();
  ExcellonWriter writer(out, layer, 2, Heading{"a title", {}}, plated ? facts.platedTools : facts.unplatedTools,
                        settings, sources);
  WalkLayer(layer, settings, facts, sources, writer);
  writer.Finish();
  return out.Text();
}

// Every tool a hit uses is in the table, with three decimals; tool 150 is beyond two
// digits and takes the lowest free number; the header's X0Y0 drills nothing; both kinds
// of hit become millimetres with a decimal point, in their order.
TEST(ExcellonWriter, WritesTheToolTableAndTheHitsInMillimetres) {
  const std::string drill =
      "G90\r\nX0Y0\r\nT9\r\nT3\r\nX12620Y35480M05\r\nX-254Y0*M05\r\nT150*\r\nX1Y2M05\r\nT0\r\nT3*\r\nX5Y-5M05\r\nM02\r\n";
  const std::string header =
      "M48\r\n; a title\r\n; #@! TF.GenerationSoftware,velmorta,velmorta-export," VELMORTA_VERSION "\r\n";
  EXPECT_EQ(Export(drill),
            header + "; #@! TF.FileFunction,NonPlated,1,2,NPTH\r\nMETRIC,LZ\r\nT1C3.000\r\nT3C0.800\r\nM95\r\nG90\r\n"
                     "T3\r\nX12.620Y35.480\r\nX-0.254Y0.000\r\nT1\r\nX0.001Y0.002\r\nT3\r\nX0.005Y-0.005\r\nM30\r\n");
  // Hits on lands go to the plated file, the rest stay; a file selects only what it drills.
  EXPECT_EQ(Export(drill, FileFunction::Plated, {{12620, 35480}, {5, -5}}),
            header + "; #@! TF.FileFunction,Plated,1,2,PTH\r\nMETRIC,LZ\r\nT3C0.800\r\nM95\r\nG90\r\n"
                     "T3\r\nX12.620Y35.480\r\nX0.005Y-0.005\r\nM30\r\n");
  EXPECT_EQ(Export(drill, FileFunction::NonPlated, {{12620, 35480}, {5, -5}}),
            header + "; #@! TF.FileFunction,NonPlated,1,2,NPTH\r\nMETRIC,LZ\r\nT1C3.000\r\nT3C0.800\r\nM95\r\nG90\r\n"
                     "T3\r\nX-0.254Y0.000\r\nT1\r\nX0.001Y0.002\r\nM30\r\n");
  // A board without parts has a drill file of its trailer alone.
  EXPECT_EQ(Export("M02\r\n"),
            header + "; #@! TF.FileFunction,NonPlated,1,2,NPTH\r\nMETRIC,LZ\r\nM95\r\nG90\r\nM30\r\n");
}

// The top of the range: numbers 1 to 99 that a list's codes take are kept, 99 among
// them; a code beyond takes the lowest number left, 99 when only it is; with none left
// the export stops. Each tool of code c is 0.1 mm * (100 + c); code 150 is 3 mm.
TEST(ExcellonWriter, NumbersToolsUpToTheHighestNumber) {
  const struct {
    int lowest, highest;   // the codes of 1 to 99 that the list holds
    const char* exported;  // the tools of codes 98, 99 and 150 and their hits; none: refused
  } kCases[] = {
      {1, 98, "T98C19.800\r\nT99C3.000\r\nM95\r\nG90\r\nT98\r\nX0.001Y0.001\r\nT99\r\nX0.002Y0.002\r\nM30\r\n"},
      {2, 99, "T1C3.000\r\nT98C19.800\r\nT99C19.900\r\nM95\r\nG90\r\nT98\r\nX0.001Y0.001\r\nT99\r\nX0.003Y0.003\r\n"
              "T1\r\nX0.002Y0.002\r\nM30\r\n"},
      {1, 99, nullptr},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::to_string(c.lowest) + " to " + std::to_string(c.highest));
    std::string tools = ">T30 150\n";
    for (int code = c.lowest; code <= c.highest; ++code) {
      tools += ">T" + std::to_string(100 + code) + " " + std::to_string(code) + "\n";
    }
    const std::string drill = std::string("T98*\r\nX1Y1M05\r\n") + (c.highest == 99 ? "T99*\r\nX3Y3M05\r\n" : "") +
                              "T150*\r\nX2Y2M05\r\nM02\r\n";
    if (c.exported == nullptr) {
      EXPECT_THROW(Export(drill, FileFunction::NonPlated, {}, tools), ExportError);
      continue;
    }
    const std::string text = Export(drill, FileFunction::NonPlated, {}, tools);
    EXPECT_EQ(text.substr(text.find("METRIC,LZ\r\n") + 11), c.exported);
  }
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
      {"T5\r\nX1Y1M05\r\nM02\r\n", ">T code 5 (d.drl draws with it): no >T line carries this code"},
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
