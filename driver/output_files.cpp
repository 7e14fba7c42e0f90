#include "driver/output_files.hpp"

#include "base/fatal.hpp"

namespace velmorta {

OutputSet OpenOutputFiles(const Settings& settings) {
  OutputSet set;
  for (const Output which : kOutputs) {
    const std::size_t n = IndexOf(which);
    const std::string name = n < settings.OutputFileNames.size() ? settings.OutputFileNames[n] : "";
    // An empty name would open the directory itself, or nothing at all.
    if (name.empty() || !set[which].Open(JoinOutputPath(settings, name))) StopRun(Message::BadOutputDirectory);
  }
  return set;
}

}  // namespace velmorta
