#include <iostream>

#include "base/executable_path.hpp"
#include "base/terminal.hpp"
#include "export/export_run.hpp"

int main(int argc, char** argv) {
  const std::span<const char* const> args(argv, static_cast<std::size_t>(argc));
  return velmorta::fab::RunExport(args, velmorta::ExecutablePath(argc > 0 ? argv[0] : nullptr), std::cout,
                                  std::cerr, velmorta::SystemSpeech(), nullptr,
                                  velmorta::StandardErrorIsTerminal() ? &std::cerr : nullptr);
}
