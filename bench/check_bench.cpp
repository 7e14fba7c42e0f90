// Board check benchmark: generates boards in the check's own model, as the export would
// fill it from a converted pad file of N records in each section, checks each in a
// child process of its own (so that its peak memory is its own) and reports the time
// and memory.
//
//   velmorta_check_bench [--quick] [--repeat N]
//
// --quick stops at N = 10^5. Each size is checked twice: with the lists in the order
// generated (the lands, then the lines, the fills: runs of neighbours, as a filler
// reading the converter's files makes them), and shuffled. A board of N records per section is a lattice of 2N lands
// at 2.54 mm (N parts, N through-holes) on both sides, each drilled and plated; N
// bottom and N top lines between neighbouring lands, each with an auxiliary land at one
// end; N fills per side between the lands; N holes, a quarter on parts and the rest
// unplated between the lands; N outline segments around it. One land, line and hole in
// a thousand is faulty, so that findings are made and reported.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

#include "check/report.hpp"
#include "check/run_check.hpp"

namespace {

using namespace velmorta::check;
using Clock = std::chrono::steady_clock;

constexpr std::int32_t kPitch = 2540;

CheckBoard Generate(std::uint64_t n, bool shuffled) {
  CheckBoard b;
  b.doubleSided = true;
  const std::uint64_t nodes = 2 * n;
  const auto nx = static_cast<std::int32_t>(std::ceil(std::sqrt(static_cast<double>(nodes))));
  const auto ny = static_cast<std::int32_t>((nodes + static_cast<std::uint64_t>(nx) - 1) / static_cast<std::uint64_t>(nx));
  const auto at = [](std::int32_t i, std::int32_t j) { return Point{10000 + i * kPitch, 10000 + j * kPitch}; };
  for (auto& side : b.copper) side.reserve(5 * n + 16);
  b.holes.reserve(3 * n + 16);

  // Lands and their hits: parts first, then through-holes; a quarter of the parts are
  // drilled by a hole record instead of the default drill.
  std::uint64_t count = 0, holesOnParts = 0;
  for (std::int32_t j = 0; j < ny && count < nodes; ++j) {
    for (std::int32_t i = 0; i < nx && count < nodes; ++i, ++count) {
      const Point p = at(i, j);
      const bool part = count < n;
      const std::int32_t land = count % 1000 == 7 ? 700 : 1640;  // too small for its drill
      const auto index = static_cast<std::uint32_t>(count + 1);
      b[Side::Bottom].push_back({p, p, land, false, Role::Land, {3, index}});
      b[Side::Top].push_back({p, p, 1640, false, Role::Land, {4, index}});
      if (part && count % 4 == 0) {
        ++holesOnParts;  // drilled below, with the hole records
      } else {
        b.holes.push_back({p, 800, true, {5, index}});
      }
      if (part && count % 4 == 0) b.holes.push_back({p, 1000, true, {5, index}});
    }
  }
  // Lines between neighbours with an auxiliary land, and fills between the lands: the
  // bottom along the rows, the top along the columns.
  for (const Side side : {Side::Bottom, Side::Top}) {
    const bool rows = side == Side::Bottom;
    const std::uint8_t copperFile = rows ? 1 : 2;
    std::uint64_t lines = 0, fills = 0;
    for (std::int32_t k = 0; k < (rows ? ny : nx); ++k) {
      for (std::int32_t m = 0; m + 1 < (rows ? nx : ny); ++m) {
        const Point a = rows ? at(m, k) : at(k, m), c = rows ? at(m + 1, k) : at(k, m + 1);
        if (k % 2 == 0 && lines < n) {
          const std::int32_t width = lines % 1000 == 3 ? 100 : 400;  // too thin
          b[side].push_back({a, c, width, true, Role::Conductor, {copperFile, static_cast<std::uint32_t>(++lines)}});
          const Point end = rows ? Point{a.x + 500, a.y} : Point{a.x, a.y + 500};
          b[side].push_back({a, end, 1200, true, Role::Conductor, {copperFile, static_cast<std::uint32_t>(lines)}});
        } else if (k % 2 == 1 && fills < n) {
          // 0.13 mm from the lands; one in a thousand 0.03 mm nearer.
          const std::int32_t inset = fills % 1000 == 5 ? 1000 : 1100;
          const Point f0 = rows ? Point{a.x + inset, a.y} : Point{a.x, a.y + inset};
          const Point f1 = rows ? Point{c.x - 1100, c.y} : Point{c.x, c.y - 1100};
          b[side].push_back({f0, f1, 300, true, Role::Conductor, {copperFile, static_cast<std::uint32_t>(++fills)}});
        }
      }
    }
  }
  // The other hole records: unplated, in the middle of the lattice's squares.
  const std::uint64_t unplated = n - holesOnParts;
  for (std::uint64_t h = 0; h < unplated; ++h) {
    const auto i = static_cast<std::int32_t>(h % static_cast<std::uint64_t>(nx - 1));
    const auto j = static_cast<std::int32_t>(h / static_cast<std::uint64_t>(nx - 1));
    const Point p{at(i, j).x + kPitch / 2, at(i, j).y + kPitch / 2};
    b.holes.push_back({p, h % 1000 == 11 ? 250 : 600, false, {5, static_cast<std::uint32_t>(h + 1)}});
  }
  // The outline: a rectangle 3 mm outside the lattice, in n segments.
  const Point lo{at(0, 0).x - 3000, at(0, 0).y - 3000}, hi{at(nx - 1, ny - 1).x + 3000, at(nx - 1, ny - 1).y + 3000};
  const Point corners[] = {lo, {hi.x, lo.y}, hi, {lo.x, hi.y}};
  for (std::uint64_t s = 0; s < n; ++s) {
    const int side = static_cast<int>(s * 4 / n);
    const std::uint64_t first = static_cast<std::uint64_t>(side) * n / 4, last = static_cast<std::uint64_t>(side + 1) * n / 4;
    const Point a = corners[side], c = corners[(side + 1) % 4];
    const auto lerp = [&](std::uint64_t t) {
      const double f = static_cast<double>(t - first) / static_cast<double>(last - first);
      return Point{a.x + static_cast<std::int32_t>(std::lround(f * (c.x - a.x))),
                   a.y + static_cast<std::int32_t>(std::lround(f * (c.y - a.y)))};
    };
    b.outline.push_back({{lerp(s), lerp(s + 1)}, 500, {7, static_cast<std::uint32_t>(s + 1)}});
  }
  if (shuffled) {
    std::mt19937_64 random(n);
    for (auto& side : b.copper) std::shuffle(side.begin(), side.end(), random);
    std::shuffle(b.holes.begin(), b.holes.end(), random);
    std::shuffle(b.outline.begin(), b.outline.end(), random);
  }
  return b;
}

long CurrentRssKb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](timeval t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Measure {
  std::uint64_t features = 0, holes = 0, edges = 0, modelBytes = 0;
  long modelRssKb = 0, peakRssKb = 0;
  double seconds = 0, cpuSeconds = 0;
  std::uint32_t errors = 0, warnings = 0, findings = 0;
};

// Runs in a child: generates and checks `repeat` times, reports the best time. Each
// check takes its board (as the export hands it over), so one board is held at a time.
Measure Run(std::uint64_t n, bool shuffled, int repeat) {
  Measure m;
  m.seconds = m.cpuSeconds = 1e30;
  for (int r = 0; r < repeat; ++r) {
    CheckBoard board = Generate(n, shuffled);
    m.features = board[Side::Bottom].size() + board[Side::Top].size();
    m.holes = board.holes.size();
    m.edges = board.outline.size();
    m.modelBytes = m.features * sizeof(Feature) + m.holes * sizeof(Hole) + m.edges * sizeof(Edge);
    m.modelRssKb = std::max(m.modelRssKb, CurrentRssKb());
    const auto start = Clock::now();
    const double cpuStart = CpuSeconds();
    const CheckResult result = RunCheck(std::move(board), Limits{});
    const std::string report = ReportCsv(result);
    m.seconds = std::min(m.seconds, std::chrono::duration<double>(Clock::now() - start).count());
    m.cpuSeconds = std::min(m.cpuSeconds, CpuSeconds() - cpuStart);
    m.errors = result.errors;
    m.warnings = result.warnings;
    m.findings = static_cast<std::uint32_t>(result.findings.size());
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  m.peakRssKb = usage.ru_maxrss;
  return m;
}

Measure RunApart(std::uint64_t n, bool shuffled, int repeat) {
  int ends[2];
  if (pipe(ends) != 0) std::exit(2);
  const pid_t pid = fork();
  if (pid == 0) {
    close(ends[0]);
    const Measure m = Run(n, shuffled, repeat);
    const ssize_t written = write(ends[1], &m, sizeof m);
    _exit(written == static_cast<ssize_t>(sizeof m) ? 0 : 1);
  }
  close(ends[1]);
  Measure m;
  const ssize_t got = read(ends[0], &m, sizeof m);
  close(ends[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (got != static_cast<ssize_t>(sizeof m) || status != 0) {
    std::fprintf(stderr, "the check of N = %llu failed\n", static_cast<unsigned long long>(n));
    std::exit(1);
  }
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  bool quick = false;
  int repeat = 3;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quick") == 0) quick = true;
    if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) repeat = std::max(1, std::atoi(argv[++i]));
  }
  std::printf("%-9s %9s %10s %9s %9s %8s %8s %7s %9s %9s %9s %7s %8s %8s\n", "order", "N/section", "features", "holes",
              "edges", "check s", "cpu s", "growth", "model MB", "peak MB", "check MB", "B/item", "errors", "warnings");
  for (const bool shuffled : {false, true}) {
    double previous = 0;
    for (std::uint64_t n = 1000; n <= (quick ? 100'000u : 1'000'000u); n *= 10) {
      const Measure m = RunApart(n, shuffled, repeat);
      const double modelMb = static_cast<double>(m.modelRssKb) / 1024, peakMb = static_cast<double>(m.peakRssKb) / 1024;
      const std::uint64_t items = m.features + m.holes + m.edges;
      char growth[16] = "";
      if (previous > 0) std::snprintf(growth, sizeof growth, "%.1f", m.cpuSeconds / previous);
      previous = m.cpuSeconds;
      std::printf("%-9s %9llu %10llu %9llu %9llu %8.3f %8.3f %7s %9.1f %9.1f %9.1f %7.1f %8u %8u\n",
                  shuffled ? "shuffled" : "generated", static_cast<unsigned long long>(n),
                  static_cast<unsigned long long>(m.features), static_cast<unsigned long long>(m.holes),
                  static_cast<unsigned long long>(m.edges), m.seconds, m.cpuSeconds, growth, modelMb, peakMb,
                  peakMb - modelMb, static_cast<double>(m.peakRssKb - m.modelRssKb) * 1024 / static_cast<double>(items),
                  m.errors, m.warnings);
      std::fflush(stdout);
    }
  }
  return 0;
}
