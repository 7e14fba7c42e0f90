#pragma once
// A set of files replaced whole or not at all: a folder and an archive beside it. The
// new set is written into a staging folder and a staging archive of this run's own;
// Commit() moves the previous set aside, the new one in, then removes the previous one.
// A journal beside the set says at every moment how to finish or undo that, so that a
// run stopped anywhere, even killed, leaves the next run a whole set: the previous one
// is removed only once the new one is in place under both names. Hold the set's lock.

#include <optional>
#include <string>

#include "export/set_journal.hpp"
#include "export/set_paths.hpp"

namespace velmorta::fab {

class StagedSet {
 public:
  // Called before each change on the disk that the swap (or the recovery of an earlier
  // one) makes, with what it is about to do ("rename A to B", "remove A", "write A"):
  // returning false, with `error` set, makes that step fail as the system would. A test
  // may also end the process there.
  using StepHook = bool (*)(const std::string& step, int& error);

  // Puts right what an earlier run left, refuses a previous set that cannot be removed
  // (protected), then creates the staging folder. Throws ExportError.
  explicit StagedSet(const SetPaths& paths, StepHook hook = nullptr);
  StagedSet(const StagedSet&) = delete;
  StagedSet& operator=(const StagedSet&) = delete;
  // Without Commit, the staged set is removed.
  ~StagedSet();

  // A file of the set, in the staging folder.
  std::string Path(const std::string& name) const;
  const std::string& StagedArchive() const { return run_.stagedArchive; }
  const std::string& StagedFolder() const { return run_.stagedFolder; }

  // Throws ExportError when the new set could not be put in place: the previous one is
  // then where it was (or, when even that failed, the next run puts it back). Returns a
  // warning when the new set is in place but the previous one could not be removed.
  Part::Told Commit();

  // What an earlier run's journal asks, done: the set under its names whole, old or new,
  // and nothing of that run beside it. Throws ExportError when a step fails.
  static void Recover(const SetPaths& paths, StepHook hook = nullptr);

 private:
  void Discard();

  SetPaths paths_;
  StepHook hook_;
  Journal journal_;
  RunNames run_;
  bool settled_ = false;  // committed, or left for the next run's recovery
};

}  // namespace velmorta::fab
