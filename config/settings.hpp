#pragma once
// Everything read from the configuration file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmorta {

// One line of a ">D", ">R" or ">T" list; entries are numbered from 1 in file order.
struct ListEntry {
  std::int32_t key = 0;
  std::int32_t code = 0;
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

struct Settings {
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

  std::string_view ApertureMode() const { return ModeToken(0); }
  std::string_view AuxLandMode() const { return ModeToken(1); }

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
