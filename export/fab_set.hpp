#pragma once
// The board house's set of one converted board, from the converter's files and
// configuration: a folder of its own named after the board (out/board-fab/) with the
// Gerber and drill files, the job file, the aperture table, the board check's report
// and the preview, and the archive beside it (out/board-fab.zip) with what a board
// house takes.

#include <array>
#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/voice.hpp"
#include "catalog/catalog.hpp"
#include "check/findings.hpp"
#include "check/limits.hpp"
#include "config/settings.hpp"
#include "export/bound_conversion.hpp"
#include "export/model/features.hpp"
#include "export/read/export_error.hpp"
#include "export/model/layer_model.hpp"
#include "export/set_lock.hpp"
#include "export/staged_set.hpp"

namespace velmorta::fab {

// A small file whole: the configuration, a limits file. Throws ExportError naming it
// as `what` (Text::TheConfigurationFile).
std::string ReadWholeFile(const std::string& path, Text what);

// A converted board read as far as its layers: what the export writes from (and tests
// walk: DiskSources(paths), then CollectLayer for each layer of the model).
struct ConvertedBoard {
  std::string name;  // the base without its directories
  Settings settings;
  FabSettings fabSettings;
  std::array<std::string, 7> paths;  // the converter's files
  LayerModel model;
  BoardFacts facts;
  HeldFiles held;  // the drill and land files, for the walk that writes the set
  BoundConversion conversion;
};

// The configuration, the check that the files are what velmorta makes of the board,
// the drill and land files read and held, and the layer model. Throws ExportError.
ConvertedBoard ReadBoard(const std::string& base, const std::string& configurationPath);

struct ExportRequest {
  std::string base;           // as given: the run log is base + "_.vel"
  std::string configuration;  // the configuration file's path
  bool timestamp = false;     // a creation date in the files and the archive
  bool check = true;          // the board check, its report and its marks in the preview
  bool kicad = true;          // BOARD.kicad_pcb beside the set
  check::Limits limits;
  StagedSet::StepHook step = nullptr;  // tests: each step of the swap
  std::chrono::milliseconds lockWait = kLockWait;
  std::ostream* warnings = nullptr;  // told when the files could not be verified
  std::ostream* progress = nullptr;  // a terminal, told what a long export is doing
  Voice voice;                       // the warnings' language and encoding
  Language language = Language::English;  // the check's report
};

struct ExportResult {
  std::string folder, archive;
  std::vector<std::string> files;  // in the folder, in the order written
  std::optional<check::CheckResult> check;  // what the board check found, when it ran
  std::string kicad;          // BOARD.kicad_pcb, when written
  Part::Told kicadWarning;    // why it is not written, or what it lacks; UTF-8 names
  Part::Told warning;         // the set is in place, but not all went well
};

// Throws ExportError for the first thing that cannot be exported; nothing is changed
// then.
ExportResult ExportFabSet(const ExportRequest& request);

}  // namespace velmorta::fab
