// Conversion benchmark: generates boards, converts each in a child process of its own
// (so that its peak memory is its own), and compares the time with reading the same
// pad file by `cat pad > /dev/null` in the same run.
//
//   velmorta_bench [--quick] [--huge] [--laid-out] [--repeat N] [--dir DIR]
//
// --quick stops at 10^5 records, --huge adds a pad file of 10^7 records, --laid-out
// runs only the laid-out boards (exported three times: the set alone, with the board
// check, and as a user runs it, with the check and the board for KiCad), --dir
// puts the files in DIR instead of the temporary directory (a memory file system keeps
// the disk's write-back out of the figures).
//   velmorta_bench --generate every|shared|laid N DIR   writes one board into DIR;
//   velmorta_bench --convert DIR                   converts it (for a profiler);
//   velmorta_bench --export DIR [OPTION...]        exports it with velmorta-export's
//                                                  options (--no-check, --no-kicad).
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "bench/pad_boards.hpp"
#include "driver/run.hpp"
#include "export/export_run.hpp"

extern char** environ;

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

using velmorta::bench::Board;
using velmorta::bench::EveryKind;
using velmorta::bench::LaidOut;
using velmorta::bench::SharedEnds;

std::string ExampleConfiguration(bool fixed) {
  std::ifstream in(VELMORTA_SOURCE_DIR "/examples/velmorta.cfg", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  std::string cfg = text.str();
  if (fixed) {
    const std::string from = ">L2 aperture mode";
    cfg.replace(cfg.find(from), from.size(), ">L1");
  }
  return cfg;
}

struct Measure {
  double seconds = 0;  // wall time from spawn to exit
  long maxRssKb = 0;
  int status = -1;
};

// Runs argv as a child with standard output sent to /dev/null.
Measure Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const auto start = Clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start " + args[0]);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  Measure m;
  m.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  m.maxRssKb = usage.ru_maxrss;
  m.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  posix_spawn_file_actions_destroy(&actions);
  return m;
}

// The best of `repeat` runs: the least time and the greatest peak memory.
Measure Best(const std::vector<std::string>& args, int repeat) {
  Measure best;
  best.seconds = 1e30;
  for (int i = 0; i < repeat; ++i) {
    const Measure m = Spawn(args);
    best.seconds = std::min(best.seconds, m.seconds);
    best.maxRssKb = std::max(best.maxRssKb, m.maxRssKb);
    best.status = m.status;
  }
  return best;
}

std::string self;

// Which runs of velmorta-export follow a conversion: none, the set alone, or also with
// the check and then as a user runs it (the check and the board for KiCad).
enum class Exports { None, Unchecked, All };

struct Result {
  std::string name;
  std::uint64_t size = 0;
  Board board;
  Measure conversion;
  Measure unchecked;  // velmorta-export of the converted board, the set alone, where it was run
  Measure exporting;  // the same with the board check
  Measure whole;      // with the check and the board for KiCad, as a user runs it
  Measure cat;
  std::uint64_t outputBytes = 0;
};

fs::path workDirectory;

// Generates the board in a child process, so that this process stays small: a child
// started from it inherits its peak memory into the peak the system reports.
Board GenerateApart(Board (*generate)(const fs::path&, std::uint64_t, bool), const fs::path& pad,
                    std::uint64_t size, bool doubleSided) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = fork();
  if (pid == 0) {
    close(pipeEnds[0]);
    const Board board = generate(pad, size, doubleSided);
    const ssize_t written = write(pipeEnds[1], &board, sizeof board);
    _exit(written == static_cast<ssize_t>(sizeof board) ? 0 : 1);
  }
  close(pipeEnds[1]);
  Board board;
  const ssize_t got = read(pipeEnds[0], &board, sizeof board);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (got != static_cast<ssize_t>(sizeof board) || status != 0) throw std::runtime_error("generation failed");
  return board;
}

Result RunCase(const std::string& name, std::uint64_t size, bool fixed,
               Board (*generate)(const fs::path&, std::uint64_t, bool), bool doubleSided, int repeat,
               Exports exports = Exports::None) {
  const fs::path dir = workDirectory / ("velmorta-bench-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "out");
  {
    std::ofstream(dir / "velmorta.cfg", std::ios::binary) << ExampleConfiguration(fixed);
  }
  Result r;
  r.name = name;
  r.size = size;
  r.board = GenerateApart(generate, dir / "b.pad", size, doubleSided);
  // Both read the pad file from the page cache: one read first warms it.
  r.cat = Best({"/bin/cat", (dir / "b.pad").string()}, 1);
  r.cat = Best({"/bin/cat", (dir / "b.pad").string()}, repeat);
  r.conversion = Best({self, "--convert", dir.string()}, repeat);
  for (const auto& entry : fs::directory_iterator(dir / "out")) r.outputBytes += entry.file_size();
  if (exports != Exports::None) {
    r.unchecked = Best({self, "--export", dir.string(), "--no-check", "--no-kicad"}, repeat);
  }
  if (exports == Exports::All) {
    r.exporting = Best({self, "--export", dir.string(), "--no-kicad"}, repeat);
    r.whole = Best({self, "--export", dir.string()}, repeat);
  }
  fs::remove_all(dir);
  return r;
}

void PrintHeader() {
  std::printf("%-26s %9s %8s %8s %8s %7s %6s %7s %6s %8s %6s %3s %7s %7s %8s %7s %8s %6s %7s %8s %3s\n", "board",
              "records", "pad MB", "out MB", "conv s", "MB/s", "growth", "cat s", "ratio", "peak MB", "x bin", "rc",
              "exp s", "x conv", "exp MB", "chk s", "chk MB", "+chk", "all s", "all MB", "rc");
}

void PrintRow(const Result& r, const Result* previous, long baselineKb) {
  const double mb = static_cast<double>(r.board.padBytes) / 1e6;
  const double peakMb = static_cast<double>(r.conversion.maxRssKb) / 1024.0;
  const double binMb = static_cast<double>(r.board.binaryBytes) / (1024.0 * 1024.0);
  char growth[16] = "";
  if (previous != nullptr && previous->name == r.name) {
    std::snprintf(growth, sizeof growth, "%.1f", r.conversion.seconds / previous->conversion.seconds);
  }
  std::printf("%-26s %9llu %8.1f %8.1f %8.3f %7.1f %6s %7.3f %6.1f %8.1f %6.2f %3d", r.name.c_str(),
              static_cast<unsigned long long>(r.board.records), mb, static_cast<double>(r.outputBytes) / 1e6,
              r.conversion.seconds, mb / r.conversion.seconds, growth, r.cat.seconds,
              r.conversion.seconds / r.cat.seconds, peakMb,
              static_cast<double>(r.conversion.maxRssKb - baselineKb) / 1024.0 / binMb, r.conversion.status);
  if (r.unchecked.status >= 0) {
    // Without the check, then with it, and what the check adds over the export's own time.
    std::printf(" %7.3f %7.2f %8.1f", r.unchecked.seconds, r.unchecked.seconds / r.conversion.seconds,
                static_cast<double>(r.unchecked.maxRssKb) / 1024.0);
    if (r.exporting.status >= 0) {
      std::printf(" %7.3f %8.1f %6.2f %7.3f %8.1f", r.exporting.seconds,
                  static_cast<double>(r.exporting.maxRssKb) / 1024.0,
                  (r.exporting.seconds - r.unchecked.seconds) / r.unchecked.seconds, r.whole.seconds,
                  static_cast<double>(r.whole.maxRssKb) / 1024.0);
    } else {
      std::printf(" %7s %8s %6s %7s %8s", "", "", "", "", "");
    }
    int status = r.unchecked.status;
    for (const Measure* m : {&r.exporting, &r.whole}) {
      if (status == 0 && m->status > 0) status = m->status;
    }
    std::printf(" %3d", status);
  }
  std::printf("\n");
  std::fflush(stdout);
}

// velmorta-export of the board that Convert converted in `dir`, with `options`.
int ExportBoard(const char* dir, std::vector<const char*> options) {
  if (chdir(dir) != 0) return 2;
  std::vector<const char*> args = {"velmorta-export"};
  args.insert(args.end(), options.begin(), options.end());
  args.push_back("b");
  std::ostringstream out, err;
  const int status = velmorta::fab::RunExport(args, std::string(dir) + "/velmorta-export", out, err);
  if (status != 0) std::fputs(err.str().c_str(), stderr);
  return status;
}

int Convert(const char* dir) {
  if (chdir(dir) != 0) return 2;
  const std::string base = "b";
  const char* args[] = {"velmorta", base.c_str()};
  std::ostringstream console, errors;
  return velmorta::RunDriver(args, std::string(dir) + "/velmorta", console, errors);
}

constexpr const char* kUsage =
    "usage: velmorta_bench [--quick] [--huge] [--laid-out] [--repeat N] [--dir DIR]\n"
    "       velmorta_bench --generate every|shared|laid N DIR\n"
    "       velmorta_bench --convert DIR\n"
    "       velmorta_bench --export DIR [velmorta-export's options]\n"
    "See bench/README.md.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--convert") == 0) return Convert(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "--export") == 0) {
    return ExportBoard(argv[2], std::vector<const char*>(argv + 3, argv + argc));
  }
  if (argc == 5 && std::strcmp(argv[1], "--generate") == 0) {
    // --generate every|shared N DIR: a board and configuration to profile with --convert.
    const fs::path dir = argv[4];
    fs::create_directories(dir / "out");
    std::ofstream(dir / "velmorta.cfg", std::ios::binary) << ExampleConfiguration(false);
    const std::uint64_t n = std::strtoull(argv[3], nullptr, 10);
    const Board board = std::strcmp(argv[2], "shared") == 0 ? SharedEnds(dir / "b.pad", n, true)
                        : std::strcmp(argv[2], "laid") == 0  ? LaidOut(dir / "b.pad", n, true)
                                                             : EveryKind(dir / "b.pad", n, true);
    std::printf("%llu records, %llu bytes\n", static_cast<unsigned long long>(board.records),
                static_cast<unsigned long long>(board.padBytes));
    return 0;
  }
  self = fs::canonical("/proc/self/exe").string();
  bool quick = false, huge = false, laidOut = false;
  int repeat = 3;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quick") == 0) {
      quick = true;
    } else if (std::strcmp(argv[i], "--huge") == 0) {
      huge = true;
    } else if (std::strcmp(argv[i], "--laid-out") == 0) {
      laidOut = true;
    } else if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) {
      repeat = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--dir") == 0 && i + 1 < argc) {
      workDirectory = argv[++i];
    } else {
      // A full run takes many minutes: a mistyped option (or --help) runs nothing.
      const bool help = std::strcmp(argv[i], "--help") == 0;
      std::fputs(kUsage, help ? stdout : stderr);
      return help ? 0 : 2;
    }
  }
  if (workDirectory.empty()) workDirectory = fs::temp_directory_path();
  const std::uint64_t top = quick ? 100'000 : 1'000'000;

  // The memory of a run on a board of no records, subtracted before the comparison
  // with the records' binary size.
  const long baselineKb = RunCase("empty", 0, false, EveryKind, true, 1).conversion.maxRssKb;
  std::printf("baseline peak memory of a run: %.1f MB\n\n", static_cast<double>(baselineKb) / 1024.0);

  PrintHeader();
  std::vector<Result> results;
  const auto run = [&](const std::string& name, std::uint64_t n, bool fixed,
                       Board (*generate)(const fs::path&, std::uint64_t, bool), bool doubleSided,
                       Exports exports = Exports::None) {
    results.push_back(RunCase(name, n, fixed, generate, doubleSided, repeat, exports));
    PrintRow(results.back(), results.size() > 1 ? &results[results.size() - 2] : nullptr, baselineKb);
  };
  // The board check on a board laid out as boards are; not on the every-kind boards,
  // whose lines and outline segments cross the whole board, so that the copper they
  // meet, and what the check finds, grows with the square of the records.
  for (const bool doubleSided : {true, false}) {
    for (std::uint64_t n = 1000; n <= top; n *= 10) {
      run(std::string("laid out, ") + (doubleSided ? "double" : "single") + ", L2", n, false, LaidOut, doubleSided,
          Exports::All);
    }
  }
  if (laidOut) return 0;
  for (const bool doubleSided : {true, false}) {
    for (std::uint64_t n = 1000; n <= top; n *= 10) {
      run(std::string("every kind, ") + (doubleSided ? "double" : "single") + ", L2", n, false, EveryKind,
          doubleSided, Exports::Unchecked);
    }
  }
  for (const bool fixed : {false, true}) {
    for (const bool doubleSided : {false, true}) {
      for (std::uint64_t n = 10'000; n <= top; n *= 10) {
        run(std::string("shared ends, ") + (doubleSided ? "double" : "single") + (fixed ? ", L1" : ", L2"), n,
            fixed, SharedEnds, doubleSided);
      }
    }
  }
  if (huge) run("10^7 records, double, L2", 1'250'000, false, EveryKind, true, Exports::Unchecked);
  return 0;
}
