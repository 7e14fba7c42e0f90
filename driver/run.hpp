#pragma once

#include <ostream>
#include <span>
#include <string>

#include "base/out_file.hpp"
#include "base/voice.hpp"

namespace velmorta {

// One whole conversion. `args` is the command line (args[0] the program, args[1] the
// board's base name, or an option); `executablePath` locates the configuration file;
// `console` (standard output) receives the console messages and the answers to the
// options, `errors` (standard error) the reason of a fatal stop and the warnings, told
// as `speech` says (a leading "--lang ja|en" chooses the language). The run log and the
// console messages are the same bytes in every language. Returns the exit status.
int RunDriver(std::span<const char* const> args, const std::string& executablePath, std::ostream& console,
              std::ostream& errors, Speech speech = {});

// The three closing lines of every run log.
void WriteClosingBanner(OutFile& runLog);

// The end of a run log after a conversion that finished: the completion message and
// the closing banner.
void WriteCompletion(OutFile& runLog);

}  // namespace velmorta
