#pragma once
// BOARD.kicad_pcb in the output directory beside the set, for carrying the board on in
// KiCad. It is written to a staging name first and moved in place after the set; one
// that was saved since by another program (KiCad itself) is never replaced.

#include <string>

#include "check/limits.hpp"
#include "export/fab_set.hpp"

namespace velmorta::fab {

struct KicadOutcome {
  std::string path;     // where it is (or would be)
  bool written = false;
  Part::Told warning;  // why it is not written, or what it lacks; UTF-8 names
};

class KicadBoardFile {
 public:
  // Reads the pad file's parts (BASE.pad), walks the layers again with the check's
  // connectivity, and writes the staged file. Throws ExportError when it cannot be written.
  KicadBoardFile(const Board& board, const std::string& base, const check::Limits& limits);
  KicadBoardFile(const KicadBoardFile&) = delete;
  KicadBoardFile& operator=(const KicadBoardFile&) = delete;
  ~KicadBoardFile();  // removes a staged file never committed

  // Moves the staged file in place. Throws ExportError.
  KicadOutcome Commit();

 private:
  KicadOutcome outcome_;
  std::string staged_;  // empty when nothing is staged
};

}  // namespace velmorta::fab
