#pragma once

#include <optional>
#include <string>

#include "base/files.hpp"
#include "base/output_set.hpp"
#include "catalog/catalog.hpp"
#include "config/settings.hpp"

namespace velmorta {

// A file the run has open that no output may be.
struct KnownFile {
  std::string path;
  std::optional<FileIdentity> identity;
};
struct InputFiles {
  KnownFile pad, configuration, runLog;
};

// Opens output files 1 to 7 in order, creating the missing ones, and empties them only
// when all seven are open and none is an input file, the run log or another output
// (devices aside): any failure ends the run with the bad-output-directory message and
// leaves every file that existed with its bytes. The reason is told in `language`.
OutputSet OpenOutputFiles(const Settings& settings, const InputFiles& inputs, Language language = Language::English);

// Flushes and closes every output file; a byte that did not reach its file ends the run
// with the bad-output-directory message.
void CloseOutputFiles(OutputSet& out, Language language = Language::English);

// "<file>: <step> failed: <reason>" of a file that lost a byte.
std::string FailureOf(const OutFile& file, Language language);

}  // namespace velmorta
