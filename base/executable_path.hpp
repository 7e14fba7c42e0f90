#pragma once

#include <string>

namespace velmorta {

// The full path of the running executable as the operating system reports it;
// `fallback` (argv[0]) only when the system cannot tell.
std::string ExecutablePath(const char* fallback);

// The configuration file beside the executable: a three-character extension is
// replaced by "cfg" (velmorta.exe -> velmorta.cfg), otherwise ".cfg" is appended.
std::string ConfigurationPath(const std::string& executablePath);

}  // namespace velmorta
