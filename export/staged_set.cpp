#include "export/staged_set.hpp"

#include <cerrno>

#include "base/files.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

void RemoveQuietly(const std::string& path) {
  int ignored = 0;
  if (Exists(path)) (void)RemoveTree(path, ignored);
}

void Clear(const std::string& path) {
  int error = 0;
  if (Exists(path) && !RemoveTree(path, error)) {
    throw ExportError("cannot remove " + path + ", left by an earlier export: " + ReasonText(error));
  }
}

}  // namespace

StagedSet::StagedSet(std::string folder, std::string archive, Rename rename)
    : folder_(std::move(folder)),
      archive_(std::move(archive)),
      stagedFolder_(folder_ + ".part"),
      stagedArchive_(archive_ + ".part"),
      oldFolder_(folder_ + ".old"),
      oldArchive_(archive_ + ".old"),
      rename_(rename != nullptr ? rename : &RenameReplacing) {
  for (const std::string* path : {&stagedFolder_, &stagedArchive_, &oldFolder_, &oldArchive_}) Clear(*path);
  int error = 0;
  if (!MakeDirectory(stagedFolder_, error)) {
    throw ExportError("cannot create " + stagedFolder_ + ": " + ReasonText(error));
  }
}

StagedSet::~StagedSet() {
  if (committed_) return;
  RemoveQuietly(stagedFolder_);
  RemoveQuietly(stagedArchive_);
}

std::string StagedSet::Path(const std::string& name) const { return JoinPath(stagedFolder_, name); }

void StagedSet::Commit() {
  // Each step that was done, so that a failure can undo them in reverse.
  bool folderAside = false, archiveAside = false, folderIn = false;
  auto undo = [&](const std::string& what, int error) {
    int ignored = 0;
    if (folderIn) (void)rename_(folder_, stagedFolder_, ignored);
    if (archiveAside) (void)rename_(oldArchive_, archive_, ignored);
    if (folderAside) (void)rename_(oldFolder_, folder_, ignored);
    throw ExportError("cannot " + what + ": " + ReasonText(error) + "; the previous set is kept");
  };
  int error = 0;
  if (Exists(folder_)) {
    if (!rename_(folder_, oldFolder_, error)) undo("move " + folder_ + " aside", error);
    folderAside = true;
  }
  if (Exists(archive_)) {
    if (!rename_(archive_, oldArchive_, error)) undo("move " + archive_ + " aside", error);
    archiveAside = true;
  }
  if (!rename_(stagedFolder_, folder_, error)) undo("put the new set in " + folder_, error);
  folderIn = true;
  if (!rename_(stagedArchive_, archive_, error)) undo("put the new archive in " + archive_, error);
  committed_ = true;
  RemoveQuietly(oldFolder_);
  RemoveQuietly(oldArchive_);
}

}  // namespace velmorta::fab
