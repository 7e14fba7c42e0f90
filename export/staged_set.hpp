#pragma once
// A set of files replaced whole or not at all: a folder and an archive beside it. The
// new set is written into a staging folder and a staging archive; Commit() moves the
// previous set aside, the new one in, and restores the previous one if any step fails.
// A set that is never committed leaves nothing behind.

#include <string>

namespace velmorta::fab {

class StagedSet {
 public:
  // The rename step, replaceable so that a test can make any one of them fail.
  using Rename = bool (*)(const std::string& from, const std::string& to, int& error);

  // `folder` ("out/board-fab") and `archive` ("out/board-fab.zip"). Creates the staging
  // folder, removing what an earlier run that was stopped left of one.
  StagedSet(std::string folder, std::string archive, Rename rename = nullptr);
  StagedSet(const StagedSet&) = delete;
  StagedSet& operator=(const StagedSet&) = delete;
  ~StagedSet();

  // A file of the set, in the staging folder.
  std::string Path(const std::string& name) const;
  const std::string& StagedArchive() const { return stagedArchive_; }

  // Throws ExportError when the new set could not be put in place; the previous one is
  // then where it was.
  void Commit();

 private:
  std::string folder_, archive_;
  std::string stagedFolder_, stagedArchive_;
  std::string oldFolder_, oldArchive_;
  Rename rename_;
  bool committed_ = false;
};

}  // namespace velmorta::fab
