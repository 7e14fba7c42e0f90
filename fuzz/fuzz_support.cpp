#include "fuzz/fuzz_support.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/diagnostics.hpp"
#include "base/outputs.hpp"

namespace velmorta::fuzz {
namespace {

// "%ld" of a 32-bit value: an optional "-", then digits without leading zeros.
bool TakeInt(std::string_view& text) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == '-') ++i;
  const std::size_t digits = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  const std::size_t n = i - digits;
  if (n == 0 || n > 10) return false;
  if (n > 1 && text[digits] == '0') return false;
  if (n == 1 && text[digits] == '0' && digits == 1) return false;  // "-0"
  const long long value = std::stoll(std::string(text.substr(0, i)));
  if (value < INT32_MIN || value > INT32_MAX) return false;
  text.remove_prefix(i);
  return true;
}

bool Take(std::string_view& text, std::string_view word) {
  if (!text.starts_with(word)) return false;
  text.remove_prefix(word.size());
  return true;
}

std::string Shorten(std::string_view text) {
  return std::string(text.substr(0, 80));
}

}  // namespace

void Fail(std::string_view what, std::string_view detail) {
  std::fprintf(stderr, "\n*** invariant violated: %.*s\n%.*s\n", static_cast<int>(what.size()), what.data(),
               static_cast<int>(detail.size()), detail.data());
  std::abort();
}

const std::string& ExampleConfiguration() {
  static const std::string text = [] {
    std::ifstream in(VELMORTA_SOURCE_DIR "/examples/velmorta.cfg", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (bytes.str().empty()) Fail("example configuration not found", VELMORTA_SOURCE_DIR);
    return bytes.str();
  }();
  return text;
}

void CheckGerber(std::string_view text, std::string_view name) {
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::string_view at = rest;
    bool ok = false;
    if (Take(rest, "G71*") || Take(rest, "G90*") || Take(rest, "G01") || Take(rest, "M00*") ||
        Take(rest, "M02*") || Take(rest, "D01*") || Take(rest, "D02*") || Take(rest, "D03*")) {
      ok = true;
    } else if (Take(rest, "D")) {
      ok = TakeInt(rest) && Take(rest, "*");
    } else if (Take(rest, "X")) {
      // X is always followed at once by its Y word and the block's command.
      ok = TakeInt(rest) && Take(rest, "Y") && TakeInt(rest) && Take(rest, "*") &&
           (Take(rest, "D01*") || Take(rest, "D02*") || Take(rest, "D03*") || Take(rest, "M00*") ||
            Take(rest, "M02*"));
    }
    if (!ok) Fail("malformed Gerber command", std::string(name) + " at: " + Shorten(at));
  }
}

void CheckDrill(std::string_view text) {
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = rest.find("\r\n");
    if (end == std::string_view::npos) Fail("drill line without CR LF", Shorten(rest));
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + 2);
    const std::string_view whole = line;
    bool ok = false;
    if (line == "G90" || line == "X0Y0" || line == "M02") {
      ok = true;
    } else if (Take(line, "T")) {
      ok = TakeInt(line) && (line.empty() || line == "*");
    } else if (Take(line, "X")) {
      ok = TakeInt(line) && Take(line, "Y") && TakeInt(line) && (line == "M05" || line == "*M05");
    }
    if (!ok) Fail("malformed drill line", Shorten(whole));
  }
}

void CheckHoleDrawingFollowsDrill(std::string_view drill, std::string_view holeDrawing) {
  std::string expected;
  std::string_view rest = drill;
  while (!rest.empty()) {
    const std::size_t end = rest.find("\r\n");
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + 2);
    if (line == "G90") {
      // The drill header "G90", "X0Y0", "T<n>" goes with the drawing's header.
      const std::size_t a = rest.find("\r\n");
      const std::size_t b = rest.find("\r\n", a + 2);
      if (a == std::string_view::npos || b == std::string_view::npos || rest.substr(0, a) != "X0Y0" ||
          rest[a + 2] != 'T') {
        Fail("drill header incomplete", Shorten(drill));
      }
      expected += "G71*G90*D02*D" + std::string(rest.substr(a + 3, b - a - 3)) + "*D02*G01";
      rest.remove_prefix(b + 2);
    } else if (line.starts_with("T")) {
      line.remove_prefix(1);
      if (line.ends_with("*")) line.remove_suffix(1);
      expected += "D" + std::string(line) + "*";
    } else if (line.starts_with("X")) {
      line.remove_suffix(line.ends_with("*M05") ? 4 : 3);
      expected += std::string(line) + "*D03*";
    } else if (line == "M02") {
      expected += kFlashTrailer;
    } else {
      Fail("unexpected drill line", Shorten(line));
    }
  }
  if (expected != holeDrawing) {
    std::size_t i = 0;
    while (i < expected.size() && i < holeDrawing.size() && expected[i] == holeDrawing[i]) ++i;
    Fail("hole drawing differs from the drill file",
         "expected: " + Shorten(std::string_view(expected).substr(i)) +
             "\nwritten:  " + Shorten(holeDrawing.substr(i)));
  }
}

void CheckTrailers(const std::string (&files)[8], bool complete) {
  static constexpr std::string_view kTrailers[8] = {
      "", kCopperTrailer, kCopperTrailer, kFlashTrailer, kFlashTrailer, "M02\r\n", kFlashTrailer, kOutlineTrailer};
  // The closing command of each file occurs nowhere else in it.
  static constexpr std::string_view kEnd[8] = {"", "M0", "M0", "M0", "M0", "M02", "M0", "M0"};
  for (int n = 1; n <= 7; ++n) {
    const std::string& text = files[n];
    std::size_t count = 0;
    for (std::size_t at = text.find(kEnd[n]); at != std::string::npos; at = text.find(kEnd[n], at + 1)) {
      ++count;
    }
    const std::string name = "output file " + std::to_string(n);
    if (complete) {
      Check(count == 1 && text.ends_with(kTrailers[n]), "trailer missing, repeated or not at the end", name);
    } else {
      Check(count == 0, "trailer written in a failed run", name);
    }
  }
}

void CheckStandardError(std::string_view text, std::size_t fatalLines) {
  constexpr std::string_view kWarning = "velmorta: warning: ";
  // Seven kinds, each shown a few times and then counted in one line.
  constexpr std::size_t kMostWarnings = 7 * (Diagnostics::kShownPerKind + 1);
  std::size_t warnings = 0, fatal = 0;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) Fail("standard error without a final line break", Shorten(rest));
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    Check(line.starts_with("velmorta: "), "standard error line without the program's name", Shorten(line));
    if (!line.starts_with(kWarning)) {
      ++fatal;
      continue;
    }
    ++warnings;
    for (const char c : line) Check(c >= 0x20 && c < 0x7f, "warning that is not printable ASCII", Shorten(line));
  }
  Check(warnings <= kMostWarnings, "more warnings than the caps allow", std::to_string(warnings));
  Check(fatal == fatalLines, "not exactly the expected fatal lines on standard error", Shorten(text));
}

SplitInput Split(std::string_view input) {
  // The example's output directory, in the directory the whole-run target provides.
  static const std::string example = [] {
    std::string text = ExampleConfiguration();
    const std::size_t at = text.find("\n>g out\n");
    if (at == std::string::npos) Fail("example configuration without \">g out\"");
    return text.replace(at, 9, "\n>g sub\n");
  }();
  const std::size_t at = input.find(kSeparator);
  if (at == std::string_view::npos) return {example, input};
  return {input.substr(0, at), input.substr(at + kSeparator.size())};
}

}  // namespace velmorta::fuzz
