#pragma once
// The journal of a swap: a small file beside the set, on the disk before the staging
// folder is made and again before the first rename, removed last. Whatever stops a run,
// the next one reads it and puts the set back whole (old or new) before anything else.

#include <optional>
#include <string>

#include "export/set_paths.hpp"

namespace velmorta::fab {

enum class SwapPhase { Writing, Swapping };

struct Journal {
  std::string run;  // the run's own part of its staging names, hex digits
  SwapPhase phase = SwapPhase::Writing;
};

// The names of one run's staging and of the previous set it moves aside.
struct RunNames {
  std::string stagedFolder, stagedArchive, oldFolder, oldArchive;
};
RunNames NamesOf(const SetPaths& set, const std::string& run);

// A name no earlier run of this board used: the time in nanoseconds.
std::string NewRun();

std::string JournalText(const Journal& journal);

// The journal beside the set; nothing when there is none. Throws ExportError when it
// cannot be read or is not one (its names are then never acted on).
std::optional<Journal> ReadJournal(const SetPaths& set);

}  // namespace velmorta::fab
