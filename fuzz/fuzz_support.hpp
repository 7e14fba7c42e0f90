#pragma once
// Checks shared by the fuzz targets. A violated check aborts, so libFuzzer keeps the
// input that caused it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/settings.hpp"

namespace velmorta::fuzz {

[[noreturn]] void Fail(std::string_view what, std::string_view detail = {});
inline void Check(bool ok, std::string_view what, std::string_view detail = {}) {
  if (!ok) Fail(what, detail);
}

// The example configuration of the repository, read once.
const std::string& ExampleConfiguration();

// A Gerber file: only the converter's commands, no line break anywhere.
void CheckGerber(std::string_view text, std::string_view name);
// The drill file: only the converter's lines, each ending in CR LF.
void CheckDrill(std::string_view text);
// The hole drawing repeats the drill file flash for hit and code for tool, in order.
void CheckHoleDrawingFollowsDrill(std::string_view drill, std::string_view holeDrawing);
// Every file holds its trailer exactly once, at its end (`complete`), or not at all.
void CheckTrailers(const std::string (&files)[8], bool complete);

// What a run wrote to standard error: lines that begin "velmorta: ", the warnings in
// plain ASCII and at most a few of each kind with a count, and exactly `fatalLines`
// lines that are no warning (the reason of a fatal stop).
void CheckStandardError(std::string_view text, std::size_t fatalLines);

// The input of the whole-conversion target: a configuration, the separator, a pad file.
// Without the separator the whole input is the pad file, read with the example
// configuration (writing into the directory "sub").
inline constexpr std::string_view kSeparator = "\n=====\n";
struct SplitInput {
  std::string_view configuration;
  std::string_view pad;
};
SplitInput Split(std::string_view input);

}  // namespace velmorta::fuzz
