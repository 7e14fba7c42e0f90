// Generates the boards on which scripts/compare-windows runs the Linux and the Windows
// converter side by side:
//
//   velmorta_boards COUNT DIR [SEED]
//
// writes DIR/0000 ... one directory per board, each holding what a run in it reads: the
// pad file b.pad and the configuration velmorta.cfg (the executable is placed beside it
// by the script), and an output directory. Boards are valid and invalid: the
// benchmark's generated boards, random sections and records with odd tokens and bytes,
// configurations changed until a run stops with a fatal error, and inputs or outputs
// that cannot be opened. Every path a configuration names is relative and ASCII, so
// both runs write the same names.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench/pad_boards.hpp"

namespace fs = std::filesystem;

namespace {

using Random = std::mt19937_64;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::size_t Below(Random& random, std::size_t n) { return static_cast<std::size_t>(random() % n); }
bool Chance(Random& random, int percent) { return static_cast<int>(random() % 100) < percent; }

template <typename T, std::size_t N>
const T& Pick(Random& random, const T (&items)[N]) {
  return items[Below(random, N)];
}

std::string Number(Random& random, long low, long high) {
  return std::to_string(low + static_cast<long>(Below(random, static_cast<std::size_t>(high - low + 1))));
}

// A field of a record: mostly a plausible number, sometimes a form the reader must
// take apart (signs, points, exponents, junk after digits, bytes outside ASCII).
std::string Field(Random& random, long low, long high) {
  if (!Chance(random, 12)) return Number(random, low, high);
  static const char* const kOdd[] = {"",     "0",  "-0",  "+7",          "-25",  "12.7", "1e3",  "0x10", "x1",
                                     "99999999999",  "-99999999999", "2147483647", "7abc", " 5", "\xff",
                                     "\x81\x40",     "1\xff\x32",    "--3",  "00012", "3,",  "\"9\""};
  return Pick(random, kOdd);
}

// A part name: quoted names may hold commas and Shift-JIS bytes; some are unquoted or
// unterminated.
std::string PartName(Random& random) {
  static const char* const kNames[] = {"\"U1\"",       "\"R12\"",        "\"J1,PWR\"",          "\"\"",
                                       "U7",           "\"open",         "\"\x92\xef\x8d\x52\"", "\"a\"b\"",
                                       "\"\xb1\xb2\"", "\"\x81\x5c\\\""};
  return Pick(random, kNames);
}

std::string Record(Random& random, const std::string& section) {
  // Coordinates stay within about 3 by 3 inches: small boards, quick runs.
  std::vector<std::string> fields;
  const auto coordinates = [&](int n) {
    for (int i = 0; i < n; ++i) fields.push_back(Field(random, 0, 300));
  };
  if (section == "Area" || section == "TopFill" || section == "BottomFill") {
    coordinates(4);
    if (section == "BottomFill" && Chance(random, 30)) fields.push_back("extra");
  } else if (section == "Parts") {
    fields.push_back(PartName(random));
    fields.push_back(Chance(random, 80) ? "DIP" : "");
    coordinates(2);
    fields.push_back(Field(random, 0, 14));
    fields.push_back(Field(random, 0, 14));
  } else if (section == "ThruHole") {
    coordinates(2);
    fields.push_back(Field(random, 0, 14));
    fields.push_back(Field(random, 0, 14));
  } else if (section == "Hole") {
    coordinates(2);
    fields.push_back(Field(random, 0, 40));
  } else {  // lines
    coordinates(4);
    fields.push_back(Field(random, 0, 24));
  }
  // A field too few or too many now and then.
  if (Chance(random, 5)) fields.pop_back();
  if (Chance(random, 5)) fields.push_back(Field(random, 0, 300));
  std::string record;
  for (std::size_t i = 0; i < fields.size(); ++i) record += (i > 0 ? "," : "") + fields[i];
  return record;
}

std::string Separator(Random& random) {
  static const char* const kSeparators[] = {"\n", "\n", "\n", " ", "\r\n", "\t", "  \n", "\v", "\f"};
  return Pick(random, kSeparators);
}

// "*** Pitch" or "*** Type" and its value, mostly one of `low` to `high`. Each random
// draw is a statement of its own, so the boards do not depend on the compiler's order
// of evaluation.
std::string ValueSection(Random& random, const char* name, long low, long high) {
  std::string text = std::string("*** ") + name;
  text += Separator(random);
  text += Chance(random, 85) ? Number(random, low, high) : Field(random, 0, 3);
  return text + "\n";
}

// Random sections of random records. Section markers are sometimes glued, misspelled or
// missing their name; tokens of stray bytes stand between the records.
std::string RandomPad(Random& random) {
  static const char* const kRecordSections[] = {"Area",       "Parts",   "ThruHole",   "Hole",
                                                "BottomLine", "TopLine", "BottomFill", "TopFill"};
  static const char* const kOddMarkers[] = {"*** AREA", "***Area", "** Area", "***", "**** Parts", "*** TopLines",
                                            "*** Pitch\xff", "***\tHole"};
  static const char* const kStray[] = {"junk", "\xff\xfe", "*", "0", ",,,", "\"", "\x01\x02", "***x", "\x82\xa0"};
  std::string pad;
  if (Chance(random, 30)) pad += "A board written by the generator.\n";
  if (Chance(random, 85)) pad += ValueSection(random, "Pitch", 1, 2);
  if (Chance(random, 85)) pad += ValueSection(random, "Type", 0, 1);
  const std::size_t sections = 1 + Below(random, 10);
  for (std::size_t s = 0; s < sections; ++s) {
    const std::string section = Pick(random, kRecordSections);
    pad += Chance(random, 7) ? std::string(Pick(random, kOddMarkers)) : "*** " + section;
    pad += Separator(random);
    const std::size_t records = Below(random, 25);
    for (std::size_t r = 0; r < records; ++r) {
      if (Chance(random, 4)) {
        pad += Pick(random, kStray);
        pad += Separator(random);
      }
      // A record whose first field is 0 ends its table.
      pad += Chance(random, 3) ? "0,0,0,0,0" : Record(random, section);
      pad += Separator(random);
    }
  }
  if (Chance(random, 5)) pad += std::string(1, '\0') + "\x1a";
  return pad;
}

// The example configuration with its lines changed, dropped, repeated and added to.
// `rate` is the percentage of lines touched: at a few percent most runs succeed, at
// higher rates most stop with one of the fatal errors of the settings.
std::string ChangedConfiguration(Random& random, const std::string& example, int rate) {
  static const char* const kValues[] = {"0", "-1", "0.0", "abc", "1e9", "99999", "", "0.05", "1.64", "0.8", "3"};
  static const char* const kExtra[] = {">D0.5 0",  ">T8 0",   ">R1.64 0",   ">L1",         ">L2",     ">L3",
                                       ">l1 0.7",  ">r2 2.24", ">d1 3.0",   ">h1 0.3",     ">j2 0.9", ">Z 0",
                                       ">Z -2",    ">T12 7",  ">D1.2 0",   ">p1",         ">p2",     ">T0 0",
                                       ">D",       ">R",      ">Z 2147483", ">h2 0.8 mm", ">j1x 1"};
  std::istringstream lines(example);
  std::string text;
  const bool crlf = Chance(random, 15);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(">F", 0) == 0 || line.rfind(">g", 0) == 0) {
      text += line + "\n";  // the output files stay where the comparison looks for them
      continue;
    }
    if (!line.empty() && line[0] == '>' && Chance(random, rate)) {
      switch (Below(random, 4)) {
        case 0: continue;  // dropped
        case 1: {          // the value after the first space replaced
          const std::size_t space = line.find(' ');
          if (space != std::string::npos) line = line.substr(0, space + 1) + Pick(random, kValues);
          break;
        }
        case 2: text += line + "\n"; break;  // repeated
        default: text += std::string(Pick(random, kExtra)) + "\n"; break;
      }
    }
    text += line + "\n";
  }
  if (Chance(random, 10)) text += std::string(300, '#') + ">Z 2\n";  // longer than a line is read
  if (Chance(random, 20)) text += std::string(Pick(random, kExtra)) + "\n";
  if (!crlf) return text;
  std::string withCr;
  for (const char c : text) withCr += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return withCr;
}

// Aperture and auxiliary-land modes, the settings that choose most of the code paths.
std::string WithModes(Random& random, std::string configuration) {
  static const char* const kApertureModes[] = {"L1", "L2", "L2", "L0"};
  static const char* const kAuxModes[] = {"L3", "L3", "L4", ""};
  const std::string aperture = ">L2 aperture mode", aux = ">L3 auxiliary lands";
  const std::size_t a = configuration.find(aperture);
  if (a != std::string::npos) {
    configuration.replace(a, aperture.size(), std::string(">") + Pick(random, kApertureModes));
  }
  const std::size_t x = configuration.find(aux);
  if (x != std::string::npos) configuration.replace(x, aux.size(), std::string(">") + Pick(random, kAuxModes));
  return configuration;
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
}

// Settings that stop a run with one of the fatal messages of the defaults, on a lightly
// changed configuration: for these keys the last line wins.
std::string StoppingConfiguration(Random& random, const std::string& example) {
  static const struct {
    const char* apertureMode;
    const char* auxLandMode;
    const char* lines;
  } kStops[] = {
      {">L1", ">L0", ">l1 0.7\n>l2 0.7\n"},    // no line aperture of the default width
      {">L1", ">L0", ">r1 1.5\n>r2 1.5\n"},    // no land aperture of the default size
      {">L1", ">L3", ">h1 0.7\n>h2 0.7\n"},    // no line aperture of the auxiliary-land size
      {">L2", ">L3", ">d1 0.75\n>d2 0.75\n"},  // no tool of the default drill size
  };
  const auto& stop = Pick(random, kStops);
  std::string configuration = ChangedConfiguration(random, example, 2);
  Replace(configuration, ">L2 aperture mode", stop.apertureMode);
  Replace(configuration, ">L3 auxiliary lands", stop.auxLandMode);
  return configuration + stop.lines;
}

// Inputs and outputs the file system refuses or moves; `variant` picks one.
void FileSystemCase(Random& random, const fs::path& dir, std::size_t variant, const std::string& example,
                    const std::string& board) {
  std::string configuration = WithModes(random, example);
  std::string pad = board;
  bool writePad = true, writeConfiguration = true;
  switch (variant % 11) {
    case 0: writePad = false; break;                               // no pad file: told on the console too
    case 1: writeConfiguration = false; break;                     // no configuration beside the executable
    case 2: writePad = false; fs::create_directory(dir / "b.pad"); break;
    case 3: writeConfiguration = false; fs::create_directory(dir / "velmorta.cfg"); break;
    case 4: Replace(configuration, ">g out", ">g missing"); break;  // no such output directory
    case 5: Replace(configuration, ">p2", ">p1"); break;            // output beside the pad file
    case 6:                                                         // a directory name with a space
      Replace(configuration, ">g out", ">g out dir");
      fs::create_directory(dir / "out dir");
      break;
    case 7: Replace(configuration, ">F7 outline.gbr\n", ""); break;  // output file 7 has no name
    case 8: fs::create_directory(dir / "out" / "drill.drl"); break;  // an output name taken by a directory
    case 9: fs::create_directory(dir / "b_.vel"); break;             // no run log: told on the console only
    default:
      // Files of an earlier run, longer than this one's: each is replaced whole.
      for (const char* name : {"bottom.gbr", "top.gbr", "drill.drl", "outline.gbr"}) {
        WriteText(dir / "out" / name, std::string(100000 + Below(random, 1000), 'x'));
      }
      WriteText(dir / "b_.vel", std::string(5000, 'y'));
      break;
  }
  if (writePad) WriteText(dir / "b.pad", pad);
  if (writeConfiguration) WriteText(dir / "velmorta.cfg", configuration);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::cerr << "usage: velmorta_boards COUNT DIR [SEED]\n";
    return 2;
  }
  const std::size_t count = std::strtoull(argv[1], nullptr, 10);
  const fs::path root = argv[2];
  const std::uint64_t seed = argc == 4 ? std::strtoull(argv[3], nullptr, 10) : 1;
  const std::string example = ReadText(VELMORTA_SOURCE_DIR "/examples/velmorta.cfg");
  const std::string examples[] = {ReadText(VELMORTA_SOURCE_DIR "/examples/board.pad"),
                                  ReadText(VELMORTA_SOURCE_DIR "/examples/single.pad")};
  if (example.empty() || examples[0].empty()) {
    std::cerr << "velmorta_boards: cannot read the examples in " VELMORTA_SOURCE_DIR "\n";
    return 1;
  }
  for (std::size_t i = 0; i < count; ++i) {
    Random random(seed * 1000003 + i);
    char name[24];
    std::snprintf(name, sizeof name, "%04zu", i);
    const fs::path dir = root / name;
    fs::create_directories(dir / "out");
    std::string configuration;
    switch (i % 8) {
      case 0:  // the benchmark's boards, small, under every mode
      case 1:
        if (i % 8 == 0) {
          const std::size_t n = 1 + Below(random, 40);
          velmorta::bench::EveryKind(dir / "b.pad", n, Chance(random, 50));
        } else {
          const std::size_t n = 10 + Below(random, 400);
          velmorta::bench::SharedEnds(dir / "b.pad", n, Chance(random, 50));
        }
        configuration = WithModes(random, ChangedConfiguration(random, example, 3));
        break;
      case 2:  // random boards under the example's settings, lightly changed
      case 3:
      case 4:
        WriteText(dir / "b.pad", RandomPad(random));
        configuration = WithModes(random, ChangedConfiguration(random, example, 2));
        break;
      case 5:  // the example boards under settings changed until most runs stop
        WriteText(dir / "b.pad", Pick(random, examples));
        configuration = Chance(random, 50) ? StoppingConfiguration(random, example)
                                           : WithModes(random, ChangedConfiguration(random, example, 25));
        break;
      case 6:
        WriteText(dir / "b.pad", RandomPad(random));
        configuration = WithModes(random, ChangedConfiguration(random, example, 25));
        break;
      default:
        FileSystemCase(random, dir, i / 8, example, Pick(random, examples));
        continue;
    }
    WriteText(dir / "velmorta.cfg", configuration);
  }
  return 0;
}
