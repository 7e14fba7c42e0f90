#pragma once
// Whether the converter's files are those of the named board's last conversion. The
// configuration names the same files for every board, so "velmorta A; velmorta B;
// velmorta-export A" would find B's files under A's name. The converter writes the run
// log last: a completed run of A leaves A's run log no older than any of its files.

#include <array>
#include <string>

namespace velmorta::fab {

// `base` as given on the command line; `paths` the seven files of the configuration.
// Throws ExportError when there is no run log, when it reports an error, or when a file
// changed after it.
void CheckLastConversion(const std::string& base, const std::array<std::string, 7>& paths);

}  // namespace velmorta::fab
