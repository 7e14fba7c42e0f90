#include "config/config_reader.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <optional>
#include <string>

#include "base/fatal.hpp"
#include "base/files.hpp"
#include "base/numbers.hpp"
#include "base/text_encoding.hpp"

namespace velmorta {
namespace {

// Lines are read at most 255 characters at a time, the line break included; the rest
// of a longer line is read as a line of its own.
constexpr std::size_t kLineChunk = 255;

std::string_view From(std::string_view line, std::size_t column) {
  return column < line.size() ? line.substr(column) : std::string_view();
}

std::string_view UpToSpaceOrBreak(std::string_view text) {
  return text.substr(0, text.find_first_of(" \n"));
}

std::string_view AfterFirstSpace(std::string_view line) {
  const std::size_t space = line.find(' ');
  return space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
}

// The pair digit in column 2 selects a member; anything else selects none.
std::optional<int> PairDigit(std::string_view line) {
  if (line.size() > 2 && (line[2] == '1' || line[2] == '2')) return line[2] - '0';
  return std::nullopt;
}

// A size in 0.001 mm, to the nearest; 0 for none that is positive, and sizes beyond any
// board held at 1 km so that they stay far out of range without overflowing.
std::int64_t WrittenMicrometres(double micrometres) {
  if (!(micrometres >= 0.5)) return 0;
  return std::llround(std::min(micrometres, 1e9));
}

struct Reader {
  Settings settings;
  bool useOutputDirectory = false;
  Diagnostics& diagnostics;
  std::size_t lineNumber = 1;  // of the line being read, counted by line breaks

  void SetPair(PitchPair& pair, std::string_view line, std::string_view value, double scale) {
    if (const auto digit = PairDigit(line)) {
      pair.Member(*digit) = ScaleToInt32(ParseDecimal(value), scale, 0.01);
    }
  }

  // `scale` makes the key of a size, `micrometres` a size in 0.001 mm.
  void AddEntry(CodeList& list, std::string_view line, double scale, double micrometres) {
    const std::string_view rest = From(line, 2);
    const std::size_t space = rest.find(' ');
    const double size = ParseDecimal(rest.substr(0, space));
    const std::string_view code =
        space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    list.push_back({ScaleToInt32(size, scale, 0.01), ParseLeadingInt(code), WrittenMicrometres(size * micrometres),
                    lineNumber});
  }

  // Names are used as their bytes say; an editor's UTF-8 on a system that reads another
  // code page gives files names nobody meant, so the user hears of it.
  void WarnIfSavedAsUtf8(std::string_view name) {
    if (SystemCodePageIsUtf8() || !IsUtf8BeyondAscii(name)) return;
    diagnostics.Warn(Warning::NameSavedAsUtf8, [&](Language language) {
      // A Japanese text is UTF-8: the name goes in as it stands.
      std::string shown = Quoted(name);
      if (language == Language::Japanese) shown = std::string("\"").append(name).append("\"");
      return Say(language, Text::NameSavedAsUtf8, {{"line", std::to_string(lineNumber)}, {"name", shown}});
    });
  }

  void Line(std::string_view line) {
    if (line.size() < 2 || line[0] != '>') return;
    switch (line[1]) {
      case 'L': settings.ModeTokens.emplace_back(UpToSpaceOrBreak(From(line, 1))); break;
      case 'F':
        settings.OutputFileNames.emplace_back(UpToSpaceOrBreak(From(line, 4)));
        WarnIfSavedAsUtf8(settings.OutputFileNames.back());
        break;
      case 'Z':
        settings.Margin = ScaleToInt32(ParseDecimal(UpToSpaceOrBreak(From(line, 3))), 1000, 0.0);
        break;
      case 'j': SetPair(settings.AuxLandLength, line, UpToSpaceOrBreak(From(line, 4)), 1000); break;
      case 'D': AddEntry(settings.LineApertureList, line, 10, 1000); break;
      case 'R': AddEntry(settings.LandApertureList, line, 100, 1000); break;
      case 'T': AddEntry(settings.ToolList, line, 10, 100); break;
      case 'l': SetPair(settings.LineWidthDefault, line, AfterFirstSpace(line), 10); break;
      case 'r': SetPair(settings.FixedLandDefault, line, AfterFirstSpace(line), 100); break;
      case 'd': SetPair(settings.DrillDefault, line, AfterFirstSpace(line), 100); break;
      case 'h': SetPair(settings.AuxLandSize, line, From(line, 4), 10); break;
      case 'p':
        if (const auto digit = PairDigit(line)) useOutputDirectory = *digit == 2;
        break;
      case 'g':
        if (useOutputDirectory) {
          const std::string_view text = AfterFirstSpace(line);
          std::string directory(text.substr(0, text.find('\n')));
          WarnIfSavedAsUtf8(directory);
          if (!directory.empty()) directory += kDirectorySeparator;
          settings.OutputDirectory = std::move(directory);
        }
        break;
      case 'E':  // velmorta-export's settings, which share the file
        settings.ExportLines.push_back({lineNumber, std::string(line.substr(0, line.find('\n')))});
        break;
      default:
        diagnostics.Warn(Warning::UnknownKey, [&](Language language) {
          return Say(language, Text::UnknownKey,
                     {{"line", std::to_string(lineNumber)},
                      {"content", Quoted(line.substr(0, line.find('\n')))},
                      {"key", Quoted(line.substr(1, 1))}});
        });
        break;
    }
  }
};

}  // namespace

Settings ParseConfiguration(std::string_view bytes, Diagnostics& diagnostics) {
  Reader reader{{}, false, diagnostics};
  reader.settings.FileName = diagnostics.ConfigurationFile();
  std::string line;
  // An editor that saves in UTF-8 may put a byte order mark before the first line.
  std::size_t i = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (i < bytes.size()) {
    line.clear();
    // A CR LF pair is one line-break character, as a text stream reads it.
    while (i < bytes.size() && line.size() < kLineChunk) {
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      line += bytes[i++];
      if (line.back() == '\n') break;
    }
    // The line is a C string: an embedded NUL ends it.
    reader.Line(std::string_view(line).substr(0, line.find('\0')));
    if (line.back() == '\n') ++reader.lineNumber;
  }
  return std::move(reader.settings);
}

Settings ParseConfiguration(std::string_view bytes) {
  Diagnostics quiet;
  return ParseConfiguration(bytes, quiet);
}

Settings ReadConfiguration(std::FILE* file, Diagnostics& diagnostics) {
  std::string bytes;
  char buffer[1 << 16];
  errno = 0;
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
  // A failed read is no end of the file: settings cut short would pass for the whole.
  if (std::ferror(file)) {
    throw FatalStop{Message::NoConfigurationFile, true,
                    diagnostics.Say(Text::ReadFailed, {{"file", diagnostics.Name(diagnostics.ConfigurationFile())},
                                                       {"reason", ReasonText(errno != 0 ? errno : EIO)}})};
  }
  return ParseConfiguration(bytes, diagnostics);
}

}  // namespace velmorta
