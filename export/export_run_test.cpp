#include "export/export_run.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <sstream>

#include "test_support/test_support.hpp"

namespace velmorta::fab {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// The converter's output directory ends in the system's separator, and the exporter
// names the files it reads by that path.
#ifdef _WIN32
const std::string kSep = "\\";
#else
const std::string kSep = "/";
#endif

struct Result {
  int status = 0;
  std::string out, err;
};

// A run of the exporter as if it lay in `dir`, beside the converter's configuration.
Result Export(const TempDir& dir, std::vector<std::string> args) {
  std::vector<const char*> argv = {"velmorta-export"};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  std::ostringstream out, err;
  Result result;
  result.status = RunExport(argv, dir / "velmorta-export", out, err);
  result.out = out.str();
  result.err = err.str();
  return result;
}

const char* const kSources[] = {"bottom.gbr", "top.gbr", "land1.gbr", "land2.gbr",
                                "drill.drl",  "holes.gbr", "outline.gbr"};
const char* const kExported[] = {"bottom_fab.gbr",      "top_fab.gbr",       "land1_fab.gbr",
                                 "land2_fab.gbr",       "drill_fab.drl",     "holes_fab.gbr",
                                 "outline_fab.gbr",     "board_apertures.csv", "board_preview.svg"};

std::map<std::string, std::string> Snapshot(const TempDir& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    if (entry.is_regular_file()) files[entry.path().filename().string()] = ReadFile(entry.path().string());
  }
  return files;
}

std::vector<std::string> All(const std::string& text, const std::regex& pattern) {
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) {
    std::string groups;
    for (std::size_t g = 1; g < it->size(); ++g) {
      if (g > 1) groups += ',';
      groups += (*it)[g].str();
    }
    found.push_back(groups);
  }
  return found;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Millimetres with three decimals back to 0.001 mm.
std::string Micrometres(std::string mm) {
  mm.erase(mm.find('.'), 1);
  const bool negative = mm[0] == '-';
  std::string digits = mm.substr(negative ? 1 : 0);
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
  return (negative && digits != "0" ? "-" : "") + digits;
}

// The exported files carry the converter's geometry unchanged: every coordinate block
// in order, in units a thousand times finer, as many strokes and flashes, and a
// definition for every aperture and tool selected.
void ExpectFaithful(const TempDir& dir) {
  for (int n = 0; n < 7; ++n) {
    const std::string source = ReadFile(dir / kSources[n]);
    const std::string exported = ReadFile(dir / kExported[n]);
    SCOPED_TRACE(kExported[n]);
    if (n == 4) {
      std::vector<std::string> hits = All(source, std::regex(R"(X(-?\d+)Y(-?\d+)\*?M05)"));
      std::vector<std::string> written;
      for (const std::string& hit : All(exported, std::regex(R"(\nX(-?[\d.]+)Y(-?[\d.]+)\r)"))) {
        const std::size_t comma = hit.find(',');
        written.push_back(Micrometres(hit.substr(0, comma)) + "," + Micrometres(hit.substr(comma + 1)));
      }
      EXPECT_FALSE(hits.empty());
      EXPECT_EQ(written, hits);
      for (const std::string& tool : All(exported, std::regex(R"(\nT(\d+)\r)"))) {
        EXPECT_NE(exported.find("\nT" + tool + "C"), std::string::npos) << "T" << tool;
      }
      EXPECT_TRUE(exported.starts_with("M48\r\n")) << exported;
      EXPECT_TRUE(exported.ends_with("\r\nM30\r\n")) << exported;
      continue;
    }
    std::vector<std::string> blocks;
    for (const std::string& xy : All(source, std::regex(R"(X(-?\d+)Y(-?\d+)\*)"))) {
      const std::size_t comma = xy.find(',');
      const auto scaled = [](const std::string& v) { return v == "0" ? v : v + "000"; };
      blocks.push_back(scaled(xy.substr(0, comma)) + "," + scaled(xy.substr(comma + 1)));
    }
    EXPECT_FALSE(blocks.empty());  // every file has its trailer's X0Y0 at least
    EXPECT_EQ(All(exported, std::regex(R"(\nX(-?\d+)Y(-?\d+)D0[123]\*)")), blocks);
    EXPECT_EQ(Count(exported, "D01*\r\n"), Count(source, "*D01*"));
    EXPECT_EQ(Count(exported, "D03*\r\n"), Count(source, "*D03*"));
    EXPECT_TRUE(exported.find("\r\n%FSLAX46Y46*%\r\n%MOMM*%\r\n") != std::string::npos) << exported;
    for (const std::string& code : All(exported, std::regex(R"(\nD(\d+)\*)"))) {
      EXPECT_EQ(Count(exported, "%ADD" + code + "C,"), 1u) << "D" << code;
    }
    EXPECT_TRUE(exported.ends_with("\r\nM02*\r\n")) << exported;
  }
}

TEST(ExportRun, ExportsTheConvertedExampleBoards) {
  for (const char* pad : {"board.pad", "single.pad"}) {
    SCOPED_TRACE(pad);
    TempDir dir;
    ASSERT_EQ(testing::ConvertExample(dir, pad), 0);
    const auto converted = Snapshot(dir);
    const Result result = Export(dir, {dir / "board"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    std::string listed;
    for (const char* name : kExported) listed += "wrote " + (dir / name) + "\n";
    EXPECT_EQ(result.out, listed);
    // The converter's files stay as they were; nothing else is left behind.
    auto after = Snapshot(dir);
    for (const char* name : kExported) EXPECT_EQ(after.erase(name), 1u) << name;
    EXPECT_EQ(after, converted);
    ExpectFaithful(dir);
  }
}

// Rows counted by hand from examples/board.pad: four outline segments, eight holes
// drilled with the default tool (six part lands without a hole record, two
// through-holes), the land files' header aperture selected and never flashed.
TEST(ExportRun, TabulatesEveryApertureAndToolOfTheExampleBoard) {
  TempDir dir;
  ASSERT_EQ(testing::ConvertExample(dir, "board.pad"), 0);
  ASSERT_EQ(Export(dir, {dir / "board"}).status, 0);
  const std::string report = ReadFile(dir / "board_apertures.csv");
  EXPECT_TRUE(report.starts_with("list,code,key,size_mm,file,exported_as,uses\r\n")) << report;
  for (const char* row : {"line,12,5,0.500,outline.gbr,D12,4\r\n", "line,17,14,1.400,bottom.gbr,D17,3\r\n",
                          "land,23,180,1.800,land1.gbr,D23,0\r\n", "tool,3,80,0.800,drill.drl,T3,8\r\n",
                          "tool,3,80,0.800,holes.gbr,D21,8\r\n", "tool,17,300,3.000,drill.drl,T17,1\r\n"}) {
    EXPECT_NE(report.find(row), std::string::npos) << row << report;
  }
  EXPECT_EQ(Count(report, "\r\n"), 25u) << report;

  const std::string svg = ReadFile(dir / "board_preview.svg");
  for (int n = 1; n <= 7; ++n) {
    const std::string id = "layer-" + std::to_string(n);
    EXPECT_EQ(Count(svg, "<g id=\"" + id + "\""), 1u) << id;
    EXPECT_EQ(Count(svg, "onclick=\"toggle('" + id + "', this)\""), 1u) << id;
  }
  const std::string outline = svg.substr(svg.find("<g id=\"layer-7\""));
  EXPECT_EQ(Count(outline.substr(0, outline.find("</g>")), "<path "), 4u);
  const std::string drill = svg.substr(svg.find("<g id=\"layer-5\""));
  EXPECT_EQ(Count(drill.substr(0, drill.find("</g>")), "<circle "), 11u);
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos) throw std::runtime_error("no " + from);
  return text.replace(at, from.size(), to);
}

void Edit(const TempDir& dir, const char* name, const std::string& from, const std::string& to) {
  WriteFile(dir / name, Replace(ReadFile(dir / name), from, to));
}

// Every failure names its file, ends with status 1 and leaves the previous export as
// it was, without a temporary file beside it.
TEST(ExportRun, FailuresNameTheFileAndWriteNothing) {
  const struct {
    const char* what;
    std::function<void(const TempDir&)> spoil;
    std::vector<std::string> args;  // before the board; "@/" stands for the directory
    std::string message;            // "@/" stands for the directory
  } kCases[] = {
      {"a missing file", [](const TempDir& d) { std::filesystem::remove(d / "land2.gbr"); }, {},
       "velmorta-export: cannot read output file 4 @/land2.gbr: No such file or directory\n"},
      {"a conversion ended by a fatal stop",
       [](const TempDir& d) {
         Edit(d, "velmorta.cfg", ">L2 aperture mode", ">L1 aperture mode");
         Edit(d, "velmorta.cfg", ">l1 0.8", ">l1 0.7");
         ASSERT_EQ(testing::RunInDir(d, "board").status, 1);
       },
       {}, "velmorta-export: @/bottom.gbr: does not end with its trailer \"G01X0Y0*M00*\": the conversion stopped"},
      {"a code without a list entry", [](const TempDir& d) { Edit(d, "velmorta.cfg", ">D1.4 17\n", ""); }, {},
       "velmorta-export: @/bottom.gbr: code 17 of the line list: no list entry carries this code"},
      {"a code of two sizes", [](const TempDir& d) { Edit(d, "velmorta.cfg", ">D1.6 18\n", ">D1.6 17\n"); }, {},
       "velmorta-export: @/bottom.gbr: code 17 of the line list: entries of different keys (14, 16) carry this code"},
      {"foreign text", [](const TempDir& d) { Edit(d, "holes.gbr", "G71*", "%MOIN*%G71*"); }, {},
       "velmorta-export: @/holes.gbr: offset 0: not a command the converter writes: \"%MOIN*%G71*G90*D02*D9*D0...\"\n"},
      {"a drill line without CR LF", [](const TempDir& d) { Edit(d, "drill.drl", "G90\r\n", "G90\n"); }, {},
       "velmorta-export: @/drill.drl: offset 3: text after the command, where CR LF should end the line"},
      {"a missing configuration", [](const TempDir&) {}, {"--config", "@/none.cfg"},
       "velmorta-export: cannot read the configuration file @/none.cfg: No such file or directory\n"},
      {"a file that cannot be written",
       [](const TempDir& d) { std::filesystem::create_directory(d / "board_preview.svg.part"); }, {},
       "velmorta-export: cannot write @/board_preview.svg: "},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    ASSERT_EQ(testing::ConvertExample(dir, "board.pad"), 0);
    ASSERT_EQ(Export(dir, {dir / "board"}).status, 0);
    c.spoil(dir);
    const auto before = Snapshot(dir);
    // "@/" is the directory and the separator.
    const auto inDir = [&dir](std::string text) {
      const std::string prefix = dir.path().string() + kSep;
      for (std::size_t at; (at = text.find("@/")) != std::string::npos;) text.replace(at, 2, prefix);
      return text;
    };
    std::vector<std::string> args;
    for (const std::string& arg : c.args) args.push_back(inDir(arg));
    args.push_back(dir / "board");
    const Result result = Export(dir, args);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    const std::string message = inDir(c.message);
    EXPECT_TRUE(result.err.starts_with(message)) << result.err;
    EXPECT_EQ(Snapshot(dir), before);
  }
}

TEST(ExportRun, TakesTheConvertersConfigurationOrTheOneNamed) {
  EXPECT_EQ(DefaultConfigurationPath("/opt/v/velmorta-export"), "/opt/v/velmorta.cfg");
  EXPECT_EQ(DefaultConfigurationPath("C:\\v\\velmorta-export.exe"), "C:\\v\\velmorta.cfg");
  EXPECT_EQ(DefaultConfigurationPath("velmorta-export"), "velmorta.cfg");

  TempDir dir;
  ASSERT_EQ(testing::ConvertExample(dir, "board.pad"), 0);
  std::filesystem::rename(dir / "velmorta.cfg", dir / "other.cfg");
  EXPECT_TRUE(Export(dir, {dir / "board"}).err.starts_with("velmorta-export: cannot read the configuration file " +
                                                        (dir / "velmorta.cfg")));
  EXPECT_EQ(Export(dir, {"--config", dir / "other.cfg", dir / "board"}).status, 0);
  EXPECT_EQ(Export(dir, {"--config=" + (dir / "other.cfg"), dir / "board"}).status, 0);

  const struct {
    std::vector<std::string> args;
    int status;
    const char* message;
  } kCommandLines[] = {
      {{}, 1, "velmorta-export: no board given\nusage: velmorta-export [--config PATH] BASE\n"},
      {{"--bogus", "b"}, 1, "velmorta-export: unknown option --bogus\nusage:"},
      {{"a", "b"}, 1, "velmorta-export: one board at a time: a and b\nusage:"},
      {{"b", "--config"}, 1, "velmorta-export: --config needs a path\nusage:"},
      {{"b/"}, 1, "velmorta-export: the board name b/ ends in a directory separator"},
  };
  for (const auto& c : kCommandLines) {
    const Result result = Export(dir, c.args);
    EXPECT_EQ(result.status, c.status);
    EXPECT_TRUE(result.err.starts_with(c.message)) << result.err;
  }
  const Result help = Export(dir, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("usage: velmorta-export [--config PATH] BASE\n")) << help.out;
}

}  // namespace
}  // namespace velmorta::fab
