#include "driver/output_files.hpp"

#include <array>

#include "base/fatal.hpp"
#include "base/voice.hpp"

namespace velmorta {
namespace {

[[noreturn]] void Refuse(Language language, Text key, std::initializer_list<Arg> args) {
  throw FatalStop{Message::BadOutputDirectory, false, Say(language, key, args)};
}

std::string Numbered(Language language, std::size_t n, const std::string& path) {
  return Say(language, Text::OutputFileNumbered, {{"number", std::to_string(n + 1)}, {"file", NameIn(language, path)}});
}

}  // namespace

OutputSet OpenOutputFiles(const Settings& settings, const InputFiles& inputs, Language language) {
  const std::pair<const KnownFile*, Text> others[] = {{&inputs.pad, Text::ThePadFile},
                                                      {&inputs.configuration, Text::TheConfigurationFile},
                                                      {&inputs.runLog, Text::TheRunLog}};
  const auto shown = [language](const std::string& path) { return NameIn(language, path); };
  OutputSet set;
  std::array<std::optional<FileIdentity>, 7> identities;
  for (const Output which : kOutputs) {
    const std::size_t n = IndexOf(which);
    const std::string name = n < settings.OutputFileNames.size() ? settings.OutputFileNames[n] : "";
    // An empty name would open the directory itself, or nothing at all.
    if (name.empty()) {
      Refuse(language, Text::NoOutputName,
             {{"file", shown(inputs.configuration.path)}, {"number", std::to_string(n + 1)}});
    }
    const std::string path = JoinOutputPath(settings, name);
    bool created = false;
    int error = 0;
    FileHandle file = OpenWithoutTruncating(path, created, error);
    if (!file) {
      Refuse(language, Exists(path) ? Text::CannotWrite : Text::CannotCreate,
             {{"file", shown(path)}, {"reason", ReasonText(error)}});
    }
    // Compared by identity: "a.gbr", "./a.gbr" and two links to one file are one file.
    identities[n] = IdentityOf(file.get());
    for (const auto& [other, what] : others) {
      if (SameFile(identities[n], other->identity)) {
        Refuse(language, Text::OutputSameAsInput,
               {{"output", Numbered(language, n, path)}, {"what", Say(language, what)}, {"file", shown(other->path)}});
      }
    }
    for (std::size_t earlier = 0; earlier < n; ++earlier) {
      if (SameFile(identities[n], identities[earlier])) {
        Refuse(language, Text::OutputSameAsOutput,
               {{"output", Numbered(language, n, path)},
                {"other", Numbered(language, earlier, set[kOutputs[earlier]].Path())}});
      }
    }
    set[which].Adopt(std::move(file), path);
  }
  for (const Output which : kOutputs) {
    int error = 0;
    if (!Truncate(set[which].Handle(), error)) {
      Refuse(language, Text::CannotEmpty, {{"file", shown(set[which].Path())}, {"reason", ReasonText(error)}});
    }
  }
  return set;
}

void CloseOutputFiles(OutputSet& out, Language language) {
  out.CloseAll();
  for (const Output which : kOutputs) {
    const OutFile& file = out[which];
    if (file.Failed()) throw FatalStop{Message::BadOutputDirectory, false, FailureOf(file, language)};
  }
}

std::string FailureOf(const OutFile& file, Language language) {
  const std::string_view step = file.FailedStep();
  const std::string stepText = step == "write"   ? Say(language, Text::StepWrite)
                               : step == "flush" ? Say(language, Text::StepFlush)
                               : step == "close" ? Say(language, Text::StepClose)
                                                 : std::string(step);
  return Say(language, Text::StepFailed,
             {{"file", NameIn(language, file.Path())}, {"step", stepText}, {"reason", ReasonText(file.Error())}});
}

}  // namespace velmorta
