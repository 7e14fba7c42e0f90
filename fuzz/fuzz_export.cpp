// The export's readers on any bytes: a converter Gerber or drill file read back and
// written as a board-house layer (and checked as the board check reads it), the
// export's configuration lines, and names turned
// into UTF-8 for XML, JSON and Gerber comments. The first byte chooses what the rest is.
// A reader either refuses the bytes (ExportError) or yields what the writers take; the
// same file read through the window of a stream and whole in memory gives the same
// tokens; every text meant as UTF-8 is valid UTF-8.
#include <cstdio>
#include <string>
#include <vector>

#include "base/text_encoding.hpp"
#include "check/findings.hpp"
#include "config/config_reader.hpp"
#include "export/check_board.hpp"
#include "export/read/drill_tokens.hpp"
#include "export/read/export_error.hpp"
#include "export/model/fab_settings.hpp"
#include "export/write/fab_writers.hpp"
#include "export/read/gerber_tokens.hpp"
#include "export/write/job_file.hpp"
#include "export/write/svg_preview.hpp"
#include "export/read/text_scan.hpp"
#include "fuzz/fuzz_support.hpp"

namespace velmorta::fuzz {
namespace {

using namespace velmorta::fab;

// A stream of the bytes (not empty: fmemopen refuses that on some systems), so that
// the scan's window moves as in a real export.
struct Stream {
  std::FILE* file = nullptr;
  explicit Stream(std::string_view bytes) : file(fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb")) {}
  ~Stream() {
    if (file != nullptr) std::fclose(file);
  }
};

template <typename Token, typename Next>
std::vector<Token> Tokens(TextScan& scan, Next next, bool& refused) {
  std::vector<Token> tokens;
  try {
    for (Token token; next(scan, token);) tokens.push_back(token);
  } catch (const ExportError&) {
    refused = true;
  }
  return tokens;
}

void CompareWindowedReading(std::string_view bytes, bool drill) {
  if (bytes.empty()) return;
  Stream stream(bytes);
  if (stream.file == nullptr) return;
  // A window of a few commands, so that inputs of a few kilobytes cross it many times.
  TextScan whole(bytes, "f"), windowed(stream.file, "f", 2 * TextScan::kLookahead + 37);
  bool refusedWhole = false, refusedWindowed = false;
  if (drill) {
    const auto a = Tokens<DrillToken>(whole, NextDrillToken, refusedWhole);
    const auto b = Tokens<DrillToken>(windowed, NextDrillToken, refusedWindowed);
    Check(a.size() == b.size(), "drill tokens differ between the window and the whole text");
    for (std::size_t i = 0; i < a.size(); ++i) {
      Check(a[i].kind == b[i].kind && a[i].offset == b[i].offset && a[i].x == b[i].x && a[i].y == b[i].y &&
                a[i].value == b[i].value,
            "a drill token differs between the window and the whole text");
    }
  } else {
    const auto a = Tokens<GerberToken>(whole, NextGerberToken, refusedWhole);
    const auto b = Tokens<GerberToken>(windowed, NextGerberToken, refusedWindowed);
    Check(a.size() == b.size(), "Gerber tokens differ between the window and the whole text");
    for (std::size_t i = 0; i < a.size(); ++i) {
      Check(a[i].kind == b[i].kind && a[i].offset == b[i].offset && a[i].x == b[i].x && a[i].y == b[i].y &&
                a[i].value == b[i].value,
            "a Gerber token differs between the window and the whole text");
    }
  }
  Check(refusedWhole == refusedWindowed, "one reading refused what the other took");
}

// One converter file as the only source of a board-house layer, written in memory.
void ExportLayer(std::string_view bytes, Output file) {
  static const Settings settings = ParseConfiguration(ExampleConfiguration());
  std::array<std::string, 7> texts;
  texts[IndexOf(file)] = std::string(bytes);
  TextSources sources(texts);
  BoardFacts facts;
  const bool drill = file == Output::Drill;
  const FabLayer layer{drill ? FileFunction::NonPlated : FileFunction::Copper, Side::Top, 1, Polarity::Positive,
                       "b", "b", "b", {{file, Take::Everything, drill ? AperFunction::None : AperFunction::Conductor}}};
  OutFile out = OutFile::InMemory();
  try {
    if (drill) {
      SortHits(ReadHeldDrill(sources), {}, 1, facts);
      ExcellonWriter writer(out, layer, 1, Heading{"t", {}}, facts.unplatedTools, settings, sources);
      WalkLayer(layer, settings, facts, sources, writer);
      writer.Finish();
      Check(out.Text().ends_with("M30\r\n"), "a drill file without M30");
    } else {
      GerberWriter writer(out, layer, 1, Heading{"t", {}}, sources);
      WalkLayer(layer, settings, facts, sources, writer);
      writer.Finish();
      Check(out.Text().ends_with("\r\nM02*\r\n") && out.Text().find("%ADD") != std::string::npos,
            "a Gerber file without an aperture or M02");
    }
    // The same layer as the board check reads it, checked and marked.
    CheckBoardFiller checked(LayerModel{1, {layer}}, facts, sources);
    FeatureSink* into = checked.Into(layer);
    Check(into != nullptr, "the check reads no copper or drill layer");
    WalkLayer(layer, settings, facts, sources, *into);
    const check::CheckResult result = checked.Check(std::nullopt, check::Limits{});
    Check(MarksOf(result).marks.size() == result.findings.size(), "a finding without its mark");
  } catch (const ExportError&) {
  }
}

void CheckNames(std::string_view bytes) {
  const std::string utf8 = SystemTextToUtf8(bytes);
  Check(IsValidUtf8(utf8), "SystemTextToUtf8 made invalid UTF-8");
  if (IsValidUtf8(bytes)) Check(utf8 == bytes, "valid UTF-8 was changed");
  const std::string xml = XmlText(utf8);
  Check(IsValidUtf8(xml), "XmlText made invalid UTF-8");
  for (std::size_t i = 0; i < xml.size(); ++i) {
    const std::string_view rest = std::string_view(xml).substr(i);
    const bool entity = rest.starts_with("&amp;") || rest.starts_with("&lt;") || rest.starts_with("&gt;") ||
                        rest.starts_with("&quot;") || rest.starts_with("&apos;");
    Check(xml[i] != '<' && (xml[i] != '&' || entity) && (static_cast<unsigned char>(xml[i]) >= 0x20 || xml[i] == '\t'),
          "XmlText let markup through");
  }
  const std::string json = JsonString(utf8);
  Check(IsValidUtf8(json), "JsonString made invalid UTF-8");
  for (const char c : GerberText(utf8)) Check(c != '*' && c != '%' && static_cast<unsigned char>(c) >= 0x20, "GerberText let a block end through");
}

}  // namespace
}  // namespace velmorta::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmorta;
  using namespace velmorta::fuzz;
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const unsigned choice = data[0];
  switch (choice % 4) {
    case 0: {
      const Output file = kOutputs[(choice / 4) % kOutputs.size()];
      CompareWindowedReading(bytes, file == Output::Drill);
      ExportLayer(bytes, file);
      break;
    }
    case 1:
      try {
        (void)fab::ParseFabSettings(bytes, "c");
      } catch (const fab::ExportError&) {
      }
      break;
    default: CheckNames(bytes); break;
  }
  return 0;
}
