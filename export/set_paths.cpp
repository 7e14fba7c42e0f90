#include "export/set_paths.hpp"

#include <cerrno>
#include <map>
#include <utility>

#include "base/files.hpp"
#include "base/path_facts.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

using Kept = std::map<std::pair<std::uint64_t, std::uint64_t>, const KeptFile*>;

const KeptFile* Find(const Kept& kept, const std::optional<PathFacts>& facts) {
  if (!facts || facts->identity.device) return nullptr;
  const auto found = kept.find({facts->identity.volume, facts->identity.index});
  return found != kept.end() ? found->second : nullptr;
}

[[noreturn]] void Refuse(const std::string& ours, const std::string& path, const KeptFile& file) {
  if (path == ours) {
    throw ExportError(Text::SetWouldReplace,
                      {{"folder", ours}, {"what", file.what}, {"file", file.path}, {"remedy", file.remedy}});
  }
  throw ExportError(Text::SetHolds, {{"what", file.what}, {"file", file.path}, {"folder", ours}, {"remedy", file.remedy}});
}

// `path` and, when it is a folder, everything in it; links are what the swap moves and
// removes, never followed.
void Walk(const std::string& ours, const std::string& path, const Kept& kept) {
  const std::optional<PathFacts> facts = FactsOf(path, false);
  if (const KeptFile* file = Find(kept, facts)) Refuse(ours, path, *file);
  if (!facts || !facts->directory) return;
  std::vector<std::string> names;
  int error = 0;
  // A folder that another export just moved aside holds nothing to part from.
  if (!ListDirectory(path, names, error) && error != ENOENT) {
    throw ExportError(Text::CannotReadFolder, {{"file", path}, {"reason", ReasonText(error)}});
  }
  for (const std::string& name : names) Walk(ours, JoinPath(path, name), kept);
}

}  // namespace

SetPaths SetPaths::Of(const std::string& folder) {
  return {folder, folder + ".zip", folder + ".lock", folder + ".journal", {}};
}

std::vector<KeptFile> KeptFilesOf(const std::string& base, const std::string& configuration,
                                  const std::array<std::string, 7>& outputs) {
  std::vector<KeptFile> kept;
  for (std::size_t n = 0; n < outputs.size(); ++n) {
    const std::string number = std::to_string(n + 1);
    kept.push_back({outputs[n], {"what", Telling(Text::OutputFileNumber, {{"number", number}})},
                    {"remedy", Telling(Text::RenameOutputFile, {{"number", number}, {"configuration", configuration}})}});
  }
  const Part elsewhere("remedy", Telling(Text::MoveBoardElsewhere, {{"configuration", configuration}}));
  kept.push_back({base + ".pad", {"what", Text::ThePadFile}, elsewhere});
  kept.push_back({configuration, {"what", Text::TheConfigurationFile}, elsewhere});
  kept.push_back({base + "_.vel", {"what", Text::TheRunLog}, elsewhere});
  return kept;
}

void RefuseClashes(const SetPaths& set, const std::vector<KeptFile>& kept) {
  Kept identities;
  for (const KeptFile& file : kept) {
    if (const std::optional<PathFacts> facts = FactsOf(file.path, true); facts && !facts->identity.device) {
      identities.emplace(std::pair{facts->identity.volume, facts->identity.index}, &file);
    }
  }
  for (const std::string* path : {&set.folder, &set.archive}) Walk(*path, *path, identities);
  // Opened for writing (followed) as well as renamed (not followed).
  std::vector<std::string> written{set.lock, set.journal, set.JournalDraft()};
  written.insert(written.end(), set.beside.begin(), set.beside.end());
  for (const std::string& path : written) {
    for (const bool follow : {false, true}) {
      if (const KeptFile* file = Find(identities, FactsOf(path, follow))) Refuse(path, path, *file);
    }
  }
}

}  // namespace velmorta::fab
