#include "driver/output_set.hpp"

#include "driver/fatal.hpp"

namespace velmorta {

OutputSet OutputSet::InMemory() {
  OutputSet set;
  for (OutFile& file : set.files_) file = OutFile::InMemory();
  return set;
}

void OutputSet::CloseAll() {
  for (const Output which : {Output::BottomCopper, Output::TopCopper, Output::Lands1, Output::Lands2,
                             Output::Drill, Output::Outline, Output::HoleDrawing}) {
    (*this)[which].Close();
  }
}

std::string JoinOutputPath(const Settings& settings, const std::string& name) {
  return settings.OutputDirectory + name;
}

OutputSet OpenOutputFiles(const Settings& settings) {
  OutputSet set;
  for (std::size_t n = 0; n < set.files_.size(); ++n) {
    const std::string name = n < settings.OutputFileNames.size() ? settings.OutputFileNames[n] : "";
    // An empty name would open the directory itself, or nothing at all.
    if (name.empty() || !set.files_[n].Open(JoinOutputPath(settings, name))) {
      StopRun(Message::BadOutputDirectory);
    }
  }
  return set;
}

}  // namespace velmorta
