#pragma once
// The seven output files, numbered in the order of the configuration's ">F" lines.

#include <array>

#include "driver/out_file.hpp"
#include "driver/settings.hpp"

namespace velmorta {

enum class Output {
  BottomCopper = 1,
  TopCopper = 2,
  Lands1 = 3,  // land flashes sized by land1
  Lands2 = 4,  // land flashes sized by land2, double-sided boards
  Drill = 5,
  HoleDrawing = 6,
  Outline = 7,
};

class OutputSet {
 public:
  OutFile& operator[](Output which) { return files_[static_cast<std::size_t>(which) - 1]; }

  // Files that keep their text in memory, for tests.
  static OutputSet InMemory();
  // Flushes and closes every file, in the converter's closing order.
  void CloseAll();

 private:
  friend OutputSet OpenOutputFiles(const Settings& settings);
  std::array<OutFile, 7> files_;
};

// `OutputDirectory` followed directly by the name.
std::string JoinOutputPath(const Settings& settings, const std::string& name);

// Creates output files 1 to 7 in order; the first that cannot be created ends the run
// with the bad-output-directory message, before anything is written to any of them.
OutputSet OpenOutputFiles(const Settings& settings);

}  // namespace velmorta
