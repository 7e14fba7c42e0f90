#pragma once
// The fatal stop: code that finds a fatal error throws; the run driver catches it at the
// top, reports it in the run log and ends the run with status 1.

#include <string>

#include "base/messages.hpp"

namespace velmorta {

struct FatalStop {
  Message message;
  bool alsoOnConsole = false;  // only the failures to open or read an input file
  // For standard error: the file and the system's reason ("cannot create out/a.gbr: No
  // such file or directory"). Empty for the configuration's lists and defaults, which
  // the driver explains by the message.
  std::string detail;
};

[[noreturn]] inline void StopRun(Message message) { throw FatalStop{message, false, {}}; }

}  // namespace velmorta
