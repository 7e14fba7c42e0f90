#include <iostream>

#include "base/executable_path.hpp"
#include "driver/run.hpp"

int main(int argc, char** argv) {
  const std::span<const char* const> args(argv, static_cast<std::size_t>(argc));
  return velmorta::RunDriver(args, velmorta::ExecutablePath(argc > 0 ? argv[0] : nullptr), std::cout, std::cerr,
                             velmorta::SystemSpeech());
}
