#pragma once
// What a path names, told without opening it for reading or writing: its identity (to
// compare with files already open, whatever the spelling), and whether a whole tree
// can be removed before anything of it is.

#include <optional>
#include <string>

#include "base/files.hpp"

namespace velmorta {

struct PathFacts {
  FileIdentity identity;
  bool directory = false;  // a directory to walk; a link never is one when not followed
};

// Nothing when the path names nothing (or the system cannot tell). `followLink` decides
// whether a final link is the file it points to or the link itself.
std::optional<PathFacts> FactsOf(const std::string& path, bool followLink);

// Whether RemoveTree(path) would be let through: false, with the first entry it would
// stop at in `blocker` and the reason in `error`, for a file made immutable or
// read-only (on Windows) and for a folder whose entries may not be removed. A missing
// path is removable. Links are not followed.
bool CanRemoveTree(const std::string& path, std::string& blocker, int& error);

}  // namespace velmorta
