#pragma once
// Helpers of the export's tests: generated boards, whole conversions and exports, the
// archive read back.

#include <filesystem>
#include <map>
#include <random>
#include <zlib.h>
#include <sstream>
#include <string>
#include <vector>

#include "export/export_run.hpp"
#include "test_support/test_support.hpp"

namespace velmorta::fab::testing {

using velmorta::testing::ReadFile;
using velmorta::testing::TempDir;
using velmorta::testing::WriteFile;

// A board of every record kind on a 2 by 1.5 inch outline: parts in rows, some with a
// hole record at their position, through-holes, free holes, lines between parts and
// free ends, fills. The seed decides the rest.
inline std::string GeneratedPad(unsigned seed, bool doubleSided, int pitch) {
  std::mt19937 random(seed);
  auto pick = [&random](int low, int high) { return low + static_cast<int>(random() % (high - low + 1)); };
  std::ostringstream pad;
  pad << "*** Pitch\n" << pitch << "\n*** Type\n" << (doubleSided ? 1 : 0) << "\n";
  pad << "*** Area\n100,100,300,100\n300,100,300,250\n300,250,100,250\n100,250,100,100\n";
  std::vector<std::pair<int, int>> parts;
  pad << "*** Parts\n";
  for (int i = 0, n = pick(3, 12); i < n; ++i) {
    const int x = 110 + 10 * pick(0, 18), y = 110 + 10 * pick(0, 13);
    parts.emplace_back(x, y);
    const int land = pick(3, 9);
    pad << "\"P" << i << "\",C," << x << "," << y << "," << land << "," << pick(3, 9) << "\n";
  }
  pad << "*** ThruHole\n";
  for (int i = 0, n = pick(0, 4); i < n; ++i) pad << 105 + 10 * pick(0, 18) << "," << 105 + 10 * pick(0, 13) << ",6,6\n";
  pad << "*** Hole\n";
  const int diameters[] = {8, 12, 30};
  for (std::size_t i = 0; i < parts.size(); i += 3) {
    pad << parts[i].first << "," << parts[i].second << "," << diameters[i % 2] << "\n";
  }
  for (int i = 0, n = pick(0, 3); i < n; ++i) pad << pick(110, 290) << "," << pick(110, 240) << ",30\n";
  for (const char* section : {"*** TopLine\n", "*** BottomLine\n"}) {
    pad << section;
    for (int i = 0, n = pick(1, 8); i < n; ++i) {
      const auto& [x1, y1] = parts[random() % parts.size()];
      const bool free = random() % 3 == 0;
      const auto& [x2, y2] = parts[random() % parts.size()];
      pad << x1 << "," << y1 << "," << (free ? pick(110, 290) : x2) << "," << (free ? pick(110, 240) : y2) << ","
          << 8 + 4 * pick(0, 3) << "\n";
    }
  }
  pad << "*** TopFill\n" << pick(110, 200) << ",245,260,245\n";
  pad << "*** BottomFill\n" << pick(110, 200) << ",105,260,105\n";
  return pad.str();
}

// The example configuration in `dir`, its output directory `dir` itself, and `pad`
// converted there as dir/base. Returns the conversion's status.
inline int ConvertPad(const TempDir& dir, const std::string& base, const std::string& pad,
                      const std::string& extraConfiguration = "") {
  std::string configuration = ReadFile(VELMORTA_SOURCE_DIR "/examples/velmorta.cfg");
  const std::size_t directory = configuration.find("\n>g ");
  const std::size_t end = configuration.find('\n', directory + 1);
  configuration.replace(directory + 1, end - directory - 1, ">g " + dir.path().string());
  WriteFile(dir / "velmorta.cfg", configuration + extraConfiguration);
  WriteFile(dir / (base + ".pad"), pad);
  return velmorta::testing::RunInDir(dir, base).status;
}

inline int ConvertExampleBoard(const TempDir& dir, const std::string& pad) {
  return ConvertPad(dir, "board", ReadFile(VELMORTA_SOURCE_DIR "/examples/" + pad));
}

struct Result {
  int status = 0;
  std::string out, err;
};

// A run of the exporter as if it lay in `dir`, beside the converter's configuration.
inline Result Export(const TempDir& dir, std::vector<std::string> args, StagedSet::StepHook step = nullptr) {
  std::vector<const char*> argv = {"velmorta-export"};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  std::ostringstream out, err;
  Result result;
  result.status = RunExport(argv, dir / "velmorta-export", out, err, {}, step);
  result.out = out.str();
  result.err = err.str();
  return result;
}

// Every file under `dir`, by its path relative to it ("board-fab/board.GTL").
inline std::map<std::string, std::string> Snapshot(const TempDir& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
    if (!entry.is_regular_file()) continue;
    files[std::filesystem::relative(entry.path(), dir.path()).generic_string()] = ReadFile(entry.path().string());
  }
  return files;
}

// The entries of a ZIP archive, inflated, by name, from its central directory; an entry
// whose local header, size or checksum disagrees is named "!" + its name.
inline std::map<std::string, std::string> ReadArchive(const std::string& zip) {
  auto u16 = [&zip](std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(zip[at]) | static_cast<unsigned char>(zip[at + 1]) << 8);
  };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  std::map<std::string, std::string> entries;
  if (zip.size() < 22 || u32(zip.size() - 22) != 0x06054b50) return entries;
  const std::size_t count = u16(zip.size() - 12);
  std::size_t at = u32(zip.size() - 6);
  for (std::size_t i = 0; i < count && at + 46 <= zip.size() && u32(at) == 0x02014b50; ++i) {
    const std::uint32_t crc = u32(at + 16), compressed = u32(at + 20), size = u32(at + 24);
    const std::size_t nameLength = u16(at + 28), local = u32(at + 42);
    const std::string name = zip.substr(at + 46, nameLength);
    at += 46 + nameLength + u16(at + 30) + u16(at + 32);
    const bool headerAgrees = u32(local) == 0x04034b50 && u32(local + 14) == crc && u32(local + 18) == compressed &&
                              u32(local + 22) == size && zip.compare(local + 30, nameLength, name) == 0;
    const std::size_t data = local + 30 + u16(local + 26) + u16(local + 28);
    std::string inflated(size, '\0');
    z_stream stream{};
    inflateInit2(&stream, -15);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.data() + data));
    stream.avail_in = compressed;
    stream.next_out = reinterpret_cast<Bytef*>(inflated.data());
    stream.avail_out = size;
    const bool whole = inflate(&stream, Z_FINISH) == Z_STREAM_END && stream.total_out == size;
    inflateEnd(&stream);
    const bool checked = crc32(0, reinterpret_cast<const Bytef*>(inflated.data()), size) == crc;
    entries[(headerAgrees && whole && checked ? "" : "!") + name] = inflated;
  }
  return entries;
}

// What is wrong with the set of `board` in `dir`, or nothing: the folder and the archive
// whole and agreeing (each entry a file of the folder, byte for byte; the reports only
// in the folder), and nothing of a staging, a previous set or a journal beside them.
inline std::string SetFault(const TempDir& dir, const std::string& board = "board") {
  const std::string folder = board + "-fab";
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(folder) && name != folder && name != folder + ".zip" && name != folder + ".lock") {
      return "left over: " + name;
    }
  }
  if (!std::filesystem::is_directory(dir / folder)) return "no folder";
  std::map<std::string, std::string> unarchived;
  for (const auto& entry : std::filesystem::directory_iterator(dir / folder)) {
    unarchived[entry.path().filename().string()] = ReadFile(entry.path().string());
  }
  const auto entries = ReadArchive(std::filesystem::exists(dir / (folder + ".zip")) ? ReadFile(dir / (folder + ".zip")) : "");
  if (entries.empty()) return "no archive, or an empty one";
  for (const auto& [name, bytes] : entries) {
    const auto file = unarchived.find(name);
    if (file == unarchived.end() || file->second != bytes) return "the archive's " + name + " is not the folder's";
    unarchived.erase(file);
  }
  for (const auto& [name, bytes] : unarchived) {
    if (!name.ends_with(".csv") && !name.ends_with(".txt") && !name.ends_with(".svg")) return name + " is not archived";
  }
  return "";
}

}  // namespace velmorta::fab::testing
