#pragma once
// The one failure of the exporter: a message for the user, already naming the file
// and, where there is one, the offset or the code.

#include <stdexcept>
#include <string>

namespace velmorta::fab {

struct ExportError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace velmorta::fab
