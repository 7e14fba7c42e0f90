// The pad reader on any bytes, with the example configuration and files in memory. It
// must never fail; the headers it writes must be well formed; the tables must end where
// their first record with a first field of 0 stands; its warnings must be few and ASCII;
// the extents read alone must be the whole read's.
#include <cstdio>
#include <sstream>

#include "board/pad_reader.hpp"
#include "config/config_reader.hpp"
#include "fuzz/fuzz_support.hpp"

namespace velmorta::fuzz {
namespace {

template <class Record>
void CheckTable(const Table<Record>& table, std::string_view name) {
  const auto visible = table.Visible();
  const auto stored = table.Stored();
  Check(visible.size() <= stored.size() && visible.data() == stored.data(), "visible records not a prefix", name);
  for (const Record& r : visible) Check(FirstField(r) != 0, "visible record with first field 0", name);
  if (visible.size() < stored.size()) {
    Check(FirstField(stored[visible.size()]) == 0, "table ends before a record with a first field", name);
  }
}

}  // namespace
}  // namespace velmorta::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmorta;
  using namespace velmorta::fuzz;
  static const Settings settings = ParseConfiguration(ExampleConfiguration());

  // fmemopen cannot open an empty buffer everywhere; one white-space byte reads the same.
  static std::uint8_t blank = ' ';
  std::FILE* pad = size > 0 ? fmemopen(const_cast<std::uint8_t*>(data), size, "rb") : fmemopen(&blank, 1, "rb");
  if (pad == nullptr) return 0;
  OutputSet out = OutputSet::InMemory();
  std::ostringstream errors;
  Diagnostics diagnostics(&errors, "b.pad", "velmorta.cfg");
  const Board board = ReadPadFile(pad, settings, out, diagnostics);
  std::fclose(pad);
  diagnostics.Finish();
  CheckStandardError(errors.str(), 0);

  for (const Output gerber : {Output::BottomCopper, Output::TopCopper, Output::Lands1, Output::Lands2,
                              Output::HoleDrawing, Output::Outline}) {
    CheckGerber(out[gerber].Text(), "header");
  }
  CheckDrill(out[Output::Drill].Text());
  CheckHoleDrawingFollowsDrill(out[Output::Drill].Text(), out[Output::HoleDrawing].Text());

  CheckTable(board.AreaTable, "AreaTable");
  CheckTable(board.PartsTable, "PartsTable");
  CheckTable(board.ThruHoleTable, "ThruHoleTable");
  CheckTable(board.HoleTable, "HoleTable");
  CheckTable(board.BottomLineTable, "BottomLineTable");
  CheckTable(board.BottomFillTable, "BottomFillTable");
  CheckTable(board.TopLineTable, "TopLineTable");
  CheckTable(board.TopFillTable, "TopFillTable");
  Check(board.MinX <= 300000 && board.MaxY >= 0, "extents beyond their start values");
  Check(PitchDigit(board.PitchMode) >= 0 && PitchDigit(board.PitchMode) <= 2 &&
            (board.BoardType == BoardType::SingleSided || board.BoardType == BoardType::DoubleSided),
        "pitch or board type out of range");

  // The extents alone, as the export reads them for its report: the same values, no
  // record kept.
  pad = size > 0 ? fmemopen(const_cast<std::uint8_t*>(data), size, "rb") : fmemopen(&blank, 1, "rb");
  if (pad == nullptr) return 0;
  Diagnostics quiet;
  const Board extents = ReadPadExtents(pad, settings, quiet);
  std::fclose(pad);
  Check(extents.MinX == board.MinX && extents.MaxY == board.MaxY && extents.MinXSource == board.MinXSource &&
            extents.MaxYSource == board.MaxYSource && extents.PitchMode == board.PitchMode &&
            extents.BoardType == board.BoardType,
        "the extents alone differ from the whole board's");
  Check(extents.AreaTable.Stored().empty() && extents.PartsTable.Stored().empty() &&
            extents.HoleTable.Stored().empty() && extents.BottomLineTable.Stored().empty(),
        "the extents alone kept records");
  return 0;
}
