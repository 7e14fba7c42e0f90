#include "export/staged_set.hpp"

#include <cerrno>

#include "base/files.hpp"
#include "base/path_facts.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

bool Present(const std::string& path) { return FactsOf(path, false).has_value(); }

// The swap's changes on the disk, each announced to the hook first. A failed step
// keeps its description and reason for the message.
class Steps {
 public:
  explicit Steps(StagedSet::StepHook hook) : hook_(hook) {}

  bool Rename(const std::string& from, const std::string& to) {
    return Allow("rename " + from + " to " + to, Telling(Text::StepRename, {{"from", from}, {"to", to}})) &&
           Done(RenameReplacing(from, to, error_));
  }
  bool Remove(const std::string& path) {
    return !Present(path) ||
           (Allow("remove " + path, Telling(Text::StepRemove, {{"file", path}})) && Done(RemoveTree(path, error_)));
  }
  bool MakeFolder(const std::string& path) {
    return Allow("create " + path, Telling(Text::StepCreate, {{"file", path}})) && Done(MakeDirectory(path, error_));
  }
  // Whole or not at all: a draft on the disk, then renamed over the journal.
  bool WriteJournal(const SetPaths& set, const Journal& journal) {
    const std::string draft = set.JournalDraft();
    if (!Allow("write " + draft, Telling(Text::StepWriteFile, {{"file", draft}}))) return false;
    FileHandle file(std::fopen(draft.c_str(), "wb"));
    const std::string text = JournalText(journal);
    errno = 0;
    bool written = file && std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    if (!written) error_ = errno;
    if (written) written = SyncToDisk(file.get(), error_);
    if (written) {
      errno = 0;
      written = std::fclose(file.release()) == 0;
      if (!written) error_ = errno;
    }
    return Done(written) && Rename(draft, set.journal);
  }

  // "cannot rename A to B: reason"
  Part::Told Failure() const {
    return Telling(Text::CannotStep, {{"step", told_}, {"reason", ReasonText(error_ != 0 ? error_ : EIO)}});
  }

 private:
  // `step` as the hook knows it; `told` as the user reads it.
  bool Allow(std::string step, Part::Told told) {
    step_ = std::move(step);
    told_ = std::move(told);
    error_ = 0;
    return hook_ == nullptr || hook_(step_, error_);
  }
  bool Done(bool done) {
    if (!done && error_ == 0) error_ = EIO;
    return done;
  }

  StagedSet::StepHook hook_;
  std::string step_;
  Part::Told told_;
  int error_ = 0;
};

// The previous set back under its names, the new one and the journal gone. A folder that
// went in alone goes back to its staging name first, so that the previous one can return.
bool Undo(const SetPaths& set, Journal journal, Steps& steps) {
  const RunNames run = NamesOf(set, journal.run);
  if (journal.phase == SwapPhase::Swapping) {
    const bool folderIn = !Present(run.stagedFolder) && Present(set.folder);
    const bool back = (!folderIn || steps.Rename(set.folder, run.stagedFolder)) &&
                      (!Present(run.oldFolder) || steps.Rename(run.oldFolder, set.folder)) &&
                      (!Present(run.oldArchive) || steps.Rename(run.oldArchive, set.archive));
    // The previous set is back: from here a staged name that is gone was removed, not
    // swapped in.
    journal.phase = SwapPhase::Writing;
    if (!back || !steps.WriteJournal(set, journal)) return false;
  }
  return steps.Remove(run.stagedArchive) && steps.Remove(run.stagedFolder) && steps.Remove(set.journal);
}

// The new set is in place under both names: the previous one goes, the journal last.
bool Finish(const SetPaths& set, const Journal& journal, Steps& steps) {
  const RunNames run = NamesOf(set, journal.run);
  return steps.Remove(run.oldFolder) && steps.Remove(run.oldArchive) && steps.Remove(set.journal);
}

// A previous set that the user protected (an immutable file, a folder without write
// permission) would be moved aside and then never removed: refused before anything.
void RefuseProtected(const SetPaths& set) {
  for (const std::string* path : {&set.folder, &set.archive}) {
    std::string blocker;
    int error = 0;
    if (!CanRemoveTree(*path, blocker, error)) {
      throw ExportError(Text::CannotReplaceSet, {{"folder", set.folder}, {"file", blocker}, {"reason", ReasonText(error)}});
    }
  }
}

}  // namespace

void StagedSet::Recover(const SetPaths& paths, StepHook hook) {
  Steps steps(hook);
  if (!steps.Remove(paths.JournalDraft())) {
    throw ExportError(Text::LeftByEarlier, {{"failure", steps.Failure()}});
  }
  const std::optional<Journal> journal = ReadJournal(paths);
  if (!journal) return;
  const RunNames run = NamesOf(paths, journal->run);
  // Staged names go only once the journal says "writing": in a swap, both gone means
  // both went in.
  const bool newSetIn =
      journal->phase == SwapPhase::Swapping && !Present(run.stagedFolder) && !Present(run.stagedArchive);
  if (!(newSetIn ? Finish(paths, *journal, steps) : Undo(paths, *journal, steps))) {
    throw ExportError(Text::CannotFinishEarlier, {{"file", paths.journal}, {"failure", steps.Failure()}});
  }
}

StagedSet::StagedSet(const SetPaths& paths, StepHook hook) : paths_(paths), hook_(hook) {
  Recover(paths_, hook_);
  RefuseProtected(paths_);
  journal_ = {NewRun(), SwapPhase::Writing};
  run_ = NamesOf(paths_, journal_.run);
  // A constructor that throws has no destructor to clean up after it.
  Steps steps(hook_);
  if (!steps.WriteJournal(paths_, journal_) || !steps.MakeFolder(run_.stagedFolder)) {
    Discard();
    throw ExportError(Text::CannotStage, {{"failure", steps.Failure()}});
  }
}

StagedSet::~StagedSet() {
  if (!settled_) Discard();
}

void StagedSet::Discard() {
  // What fails here is left to the next run's recovery, which the journal tells.
  Steps steps(hook_);
  (void)(steps.Remove(paths_.JournalDraft()) && steps.Remove(run_.stagedArchive) &&
         steps.Remove(run_.stagedFolder) && steps.Remove(paths_.journal));
}

std::string StagedSet::Path(const std::string& name) const { return JoinPath(run_.stagedFolder, name); }

Part::Told StagedSet::Commit() {
  Steps steps(hook_);
  // From here the journal, not this process, says what the set is should the run stop.
  journal_.phase = SwapPhase::Swapping;
  if (!steps.WriteJournal(paths_, journal_)) {
    throw ExportError(Text::PreviousSetKept, {{"failure", steps.Failure()}});
  }
  const bool swapped = (!Present(paths_.folder) || steps.Rename(paths_.folder, run_.oldFolder)) &&
                       (!Present(paths_.archive) || steps.Rename(paths_.archive, run_.oldArchive)) &&
                       steps.Rename(run_.stagedFolder, paths_.folder) &&
                       steps.Rename(run_.stagedArchive, paths_.archive);
  if (!swapped) {
    const Part::Told failure = steps.Failure();
    settled_ = true;
    if (!Undo(paths_, journal_, steps)) {
      throw ExportError(Text::PutBackFailed, {{"failure", failure}, {"second", steps.Failure()}});
    }
    throw ExportError(Text::PreviousSetKept, {{"failure", failure}});
  }
  settled_ = true;
  if (!Finish(paths_, journal_, steps)) {
    return Telling(Text::NewSetInPlace, {{"failure", steps.Failure()}});
  }
  return {};
}

}  // namespace velmorta::fab
