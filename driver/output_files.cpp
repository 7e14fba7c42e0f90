#include "driver/output_files.hpp"

#include <array>

#include "base/fatal.hpp"

namespace velmorta {
namespace {

[[noreturn]] void Refuse(std::string detail) { throw FatalStop{Message::BadOutputDirectory, false, std::move(detail)}; }

std::string Numbered(std::size_t n, const std::string& path) {
  return "output file " + std::to_string(n + 1) + " " + path;
}

}  // namespace

OutputSet OpenOutputFiles(const Settings& settings, const InputFiles& inputs) {
  const std::pair<const KnownFile*, const char*> others[] = {{&inputs.pad, "the pad file"},
                                                             {&inputs.configuration, "the configuration file"},
                                                             {&inputs.runLog, "the run log"}};
  OutputSet set;
  std::array<std::optional<FileIdentity>, 7> identities;
  for (const Output which : kOutputs) {
    const std::size_t n = IndexOf(which);
    const std::string name = n < settings.OutputFileNames.size() ? settings.OutputFileNames[n] : "";
    // An empty name would open the directory itself, or nothing at all.
    if (name.empty()) Refuse(inputs.configuration.path + ": no >F line names output file " + std::to_string(n + 1));
    const std::string path = JoinOutputPath(settings, name);
    bool created = false;
    int error = 0;
    FileHandle file = OpenWithoutTruncating(path, created, error);
    if (!file) Refuse((Exists(path) ? "cannot write " : "cannot create ") + path + ": " + ReasonText(error));
    // Compared by identity: "a.gbr", "./a.gbr" and two links to one file are one file.
    identities[n] = IdentityOf(file.get());
    for (const auto& [other, what] : others) {
      if (SameFile(identities[n], other->identity)) {
        Refuse(Numbered(n, path) + " is the same file as " + what + " " + other->path);
      }
    }
    for (std::size_t earlier = 0; earlier < n; ++earlier) {
      if (SameFile(identities[n], identities[earlier])) {
        Refuse(Numbered(n, path) + " is the same file as " + Numbered(earlier, set[kOutputs[earlier]].Path()));
      }
    }
    set[which].Adopt(std::move(file), path);
  }
  for (const Output which : kOutputs) {
    int error = 0;
    if (!Truncate(set[which].Handle(), error)) Refuse("cannot empty " + set[which].Path() + ": " + ReasonText(error));
  }
  return set;
}

void CloseOutputFiles(OutputSet& out) {
  out.CloseAll();
  for (const Output which : kOutputs) {
    const OutFile& file = out[which];
    if (file.Failed()) {
      Refuse(file.Path() + ": " + std::string(file.FailedStep()) + " failed: " + ReasonText(file.Error()));
    }
  }
}

}  // namespace velmorta
