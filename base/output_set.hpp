#pragma once
// The seven output files of a conversion.

#include <array>

#include "base/out_file.hpp"
#include "base/outputs.hpp"

namespace velmorta {

class OutputSet {
 public:
  OutFile& operator[](Output which) { return files_[IndexOf(which)]; }

  // Files that keep their text in memory, for tests.
  static OutputSet InMemory();
  // Flushes and closes every file, in the converter's closing order.
  void CloseAll();

 private:
  std::array<OutFile, 7> files_;
};

}  // namespace velmorta
