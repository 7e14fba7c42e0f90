#pragma once
// The names the export writes beside the converter's files, and the rule that none of
// them is a file the export reads: compared by identity, not by spelling, so that
// "./board-fab.zip", a link, or a converter file inside the set's folder is found.

#include <array>
#include <string>
#include <vector>

#include "export/read/export_error.hpp"

namespace velmorta::fab {

struct SetPaths {
  std::string folder;   // out/board-fab
  std::string archive;  // out/board-fab.zip
  std::string lock;     // out/board-fab.lock: held while one export of the board runs
  std::string journal;  // out/board-fab.journal: the swap in progress, for the next run
  std::vector<std::string> beside;  // other files written next to the set (the board for KiCad)

  static SetPaths Of(const std::string& folder);
  std::string JournalDraft() const { return journal + ".new"; }
};

// A file the export reads and must never replace: "output file 1", "the pad file", with
// what the user does to part it from the set ("give output file 1 another name ...").
struct KeptFile {
  std::string path;
  Part what, remedy;
};

// The files a conversion of `base` reads and writes: its seven files (`outputs`), the pad
// file, the configuration and the run log.
std::vector<KeptFile> KeptFilesOf(const std::string& base, const std::string& configuration,
                                  const std::array<std::string, 7>& outputs);

// Throws ExportError, naming both files and the remedy, when a path of the set (the
// folder and everything in it, the archive, the lock, the journal, the files beside) is
// one of `kept`.
void RefuseClashes(const SetPaths& set, const std::vector<KeptFile>& kept);

}  // namespace velmorta::fab
