// The configuration reader on any bytes: it must never fail, its warnings must be few
// and ASCII, and a file with CR LF line ends must read exactly like the same file with
// LF line ends.
#include <cstdio>
#include <sstream>

#include "config/config_reader.hpp"
#include "fuzz/fuzz_support.hpp"

namespace velmorta::fuzz {
namespace {

bool SameList(const CodeList& a, const CodeList& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].key != b[i].key || a[i].code != b[i].code || a[i].micrometres != b[i].micrometres ||
        a[i].line != b[i].line) {
      return false;
    }
  }
  return true;
}

bool SamePair(const PitchPair& a, const PitchPair& b) { return a.first == b.first && a.second == b.second; }

bool Same(const Settings& a, const Settings& b) {
  return a.ModeTokens == b.ModeTokens && a.OutputFileNames == b.OutputFileNames &&
         a.OutputDirectory == b.OutputDirectory && a.Margin == b.Margin &&
         SamePair(a.AuxLandLength, b.AuxLandLength) && SameList(a.LineApertureList, b.LineApertureList) &&
         SameList(a.LandApertureList, b.LandApertureList) && SameList(a.ToolList, b.ToolList) &&
         SamePair(a.LineWidthDefault, b.LineWidthDefault) && SamePair(a.FixedLandDefault, b.FixedLandDefault) &&
         SamePair(a.AuxLandSize, b.AuxLandSize) && SamePair(a.DrillDefault, b.DrillDefault);
}

// Texts that end at a space or a line break hold neither; none holds a NUL.
void CheckToken(std::string_view text, std::string_view what) {
  Check(text.find_first_of(std::string_view(" \n\0", 3)) == std::string_view::npos, what, text);
}

}  // namespace
}  // namespace velmorta::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmorta;
  using namespace velmorta::fuzz;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::ostringstream errors;
  Diagnostics diagnostics(&errors, "b.pad", "velmorta.cfg");
  const Settings settings = ParseConfiguration(bytes, diagnostics);
  diagnostics.Finish();
  CheckStandardError(errors.str(), 0);
  Check(Same(settings, ParseConfiguration(bytes)), "warnings change what is read");

  for (const std::string& token : settings.ModeTokens) {
    CheckToken(token, "mode token with a space, line break or NUL");
    Check(token.starts_with("L"), "mode token not starting with its key", token);
  }
  for (const std::string& name : settings.OutputFileNames) CheckToken(name, "file name with a space, line break or NUL");
  const std::string& dir = settings.OutputDirectory;
  Check(dir.find_first_of(std::string_view("\n\0", 2)) == std::string::npos, "directory with a line break or NUL", dir);
  Check(dir.empty() || (dir.size() >= 2 && (dir.back() == '/' || dir.back() == '\\')),
        "directory without its separator", dir);

  // The stream reader gives what the text reader gives.
  if (std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb"); file != nullptr && size > 0) {
    Diagnostics quiet;
    const Settings streamed = ReadConfiguration(file, quiet);
    std::fclose(file);
    Check(Same(settings, streamed), "stream and text readers differ");
  }

  // CR LF is one line break, as LF alone is. (With CR CR LF the rewritten text would end
  // its line in CR LF again, so such inputs are left out.)
  if (bytes.find("\r\r\n") != std::string_view::npos) return 0;
  std::string lf;
  lf.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    lf += bytes[i];
  }
  Check(Same(settings, ParseConfiguration(lf)), "CR LF and LF line ends read differently");
  return 0;
}
