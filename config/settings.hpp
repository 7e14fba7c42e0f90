#pragma once
// Everything read from the configuration file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmorta {

// One line of a ">D", ">R" or ">T" list; entries are numbered from 1 in file order.
// The converter selects by the key; the size as written is what a plotter's aperture or
// a drill measures, kept for programs that draw with it.
struct ListEntry {
  std::int32_t key = 0;
  std::int32_t code = 0;
  std::int64_t micrometres = 0;  // the size as written, rounded; 0 when it is not a positive number
  std::size_t line = 0;          // in the configuration file, from 1
};
using CodeList = std::vector<ListEntry>;

// The code of list entry n (numbered from 1), or 0 when the list is shorter.
inline std::int32_t CodeOfEntry(const CodeList& list, std::size_t n) {
  return n >= 1 && n <= list.size() ? list[n - 1].code : 0;
}

// A value per pitch: `first` serves pitch 1, `second` pitch 2.
struct PitchPair {
  std::int32_t first = 0;
  std::int32_t second = 0;
  std::int32_t& Member(int digit) { return digit == 1 ? first : second; }
};

// A ">E" line, velmorta-export's own, as read (without its line break) and its number
// in the file, for messages.
struct NumberedLine {
  std::size_t number = 0;
  std::string text;
};

// The first mode token: "L1" draws with the fixed apertures of the defaults, "L2" picks
// each object's aperture by its size code; any other token does neither.
enum class ApertureMode { Fixed, BySize, Neither };

// The list entries (numbered from 1) whose codes the file headers and the hole table use.
inline constexpr std::size_t kCopperHeaderEntryPitch1 = 7;  // LineApertureList
inline constexpr std::size_t kCopperHeaderEntryPitch2 = 1;  // LineApertureList
inline constexpr std::size_t kLandHeaderEntry = 4;          // LandApertureList
inline constexpr std::size_t kDrillHeaderEntry = 9;         // ToolList: drill file and hole drawing
inline constexpr std::size_t kHoleToolEntry = 18;           // ToolList: every Hole record's tool

struct Settings {
  std::string FileName;  // the configuration file as the program names it, for messages
  std::vector<std::string> ModeTokens;
  std::vector<std::string> OutputFileNames;
  std::string OutputDirectory;  // empty, or ending in the directory separator
  std::int32_t Margin = 0;
  PitchPair AuxLandLength;
  CodeList LineApertureList;
  CodeList LandApertureList;
  CodeList ToolList;
  PitchPair LineWidthDefault;
  PitchPair FixedLandDefault;
  PitchPair AuxLandSize;
  PitchPair DrillDefault;
  std::vector<NumberedLine> ExportLines;

  std::string_view ApertureModeToken() const { return ModeToken(0); }
  std::string_view AuxLandModeToken() const { return ModeToken(1); }
  ApertureMode Apertures() const {
    const std::string_view token = ApertureModeToken();
    return token == "L1" ? ApertureMode::Fixed : token == "L2" ? ApertureMode::BySize : ApertureMode::Neither;
  }
  // The second mode token "L3" draws auxiliary lands at line ends.
  bool AuxLands() const { return AuxLandModeToken() == "L3"; }

 private:
  std::string_view ModeToken(std::size_t i) const {
    return i < ModeTokens.size() ? std::string_view(ModeTokens[i]) : std::string_view();
  }
};

// `OutputDirectory` followed directly by the name.
inline std::string JoinOutputPath(const Settings& settings, const std::string& name) {
  return settings.OutputDirectory + name;
}

}  // namespace velmorta
