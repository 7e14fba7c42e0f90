#pragma once
// The fatal stop: code that finds a fatal error throws; the run driver catches it at the
// top, reports it in the run log and ends the run with status 1.

#include "base/messages.hpp"

namespace velmorta {

struct FatalStop {
  Message message;
  bool alsoOnConsole = false;  // only the two failures to open an input file
};

[[noreturn]] inline void StopRun(Message message) { throw FatalStop{message}; }

}  // namespace velmorta
