#pragma once
// velmorta-export's command line: velmorta-export [--config PATH] [--timestamp] [--limits PATH]
// [--limit NAME=MM]... [--fail-on errors|warnings] [--no-check] [--no-kicad] [--lang ja|en] BASE

#include <ostream>
#include <span>
#include <string>

#include "base/voice.hpp"
#include "export/staged_set.hpp"

namespace velmorta::fab {

// Without --config the exporter reads the converter's configuration: the file that the
// converter, `velmorta` beside this executable, reads by its own rule (velmorta.cfg).
std::string DefaultConfigurationPath(const std::string& executablePath);

// Returns the exit status: 0 when every file was written; 1 otherwise, with the reason
// on `err` and nothing written, or when `out` could not be written; 2 when the set is
// written and --fail-on trips on what the board check finds.
// Texts are told as `speech` says (tests: English, every byte as it is), or in the
// language of --lang. `step` is told each step of the swap, for tests; `progress`, a
// terminal, what a long export is doing.
int RunExport(std::span<const char* const> args, const std::string& executablePath, std::ostream& out,
              std::ostream& err, Speech speech = {}, StagedSet::StepHook step = nullptr,
              std::ostream* progress = nullptr);

}  // namespace velmorta::fab
