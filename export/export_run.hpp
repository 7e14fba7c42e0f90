#pragma once
// velmorta-export's command line: velmorta-export [--config PATH] BASE

#include <ostream>
#include <span>
#include <string>

namespace velmorta::fab {

// Without --config the exporter reads the converter's configuration: the file that the
// converter, `velmorta` beside this executable, reads by its own rule (velmorta.cfg).
std::string DefaultConfigurationPath(const std::string& executablePath);

// Returns the exit status: 0 when every file was written, 1 otherwise, with the reason
// on `err` and nothing written.
int RunExport(std::span<const char* const> args, const std::string& executablePath, std::ostream& out,
              std::ostream& err);

}  // namespace velmorta::fab
