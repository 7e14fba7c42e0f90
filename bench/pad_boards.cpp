#include "bench/pad_boards.hpp"

#include <charconv>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "board/board.hpp"

namespace velmorta::bench {

PadWriter& PadWriter::operator<<(long value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  return *this << std::string_view(digits, static_cast<std::size_t>(end - digits));
}

namespace {

// A pad coordinate on a 0.01-inch grid of about 3 m square.
long Coordinate(std::mt19937_64& random) { return 100 + static_cast<long>(random() % 30000); }

}  // namespace

Board EveryKind(const fs::path& pad, std::uint64_t n, bool doubleSided) {
  std::mt19937_64 random(n);
  PadWriter out(pad);
  out << "*** Pitch\n1\n*** Type\n" << (doubleSided ? "1\n" : "0\n");
  const long landCodes[] = {5, 5, 8, 8, 10, 12, 6};
  const long widths[] = {8, 8, 12, 20, 0, 5};
  const long diameters[] = {8, 8, 12, 30, 12};
  std::vector<std::pair<long, long>> parts;
  parts.reserve(n);

  out << "*** Area\n";
  for (std::uint64_t i = 0; i < n; ++i) {
    out << Coordinate(random) << "," << Coordinate(random) << "," << Coordinate(random) << ","
        << Coordinate(random) << "\n";
  }
  out << "*** Parts\n";
  for (std::uint64_t i = 0; i < n; ++i) {
    const long x = Coordinate(random), y = Coordinate(random);
    parts.emplace_back(x, y);
    out << "\"U" << static_cast<long>(i) << "\",DIP," << x << "," << y << "," << landCodes[i / 3 % 7] << ","
        << landCodes[(i / 5 + 1) % 7] << "\n";
  }
  out << "*** ThruHole\n";
  for (std::uint64_t i = 0; i < n; ++i) {
    out << Coordinate(random) << "," << Coordinate(random) << "," << landCodes[i % 7] << ","
        << landCodes[(i + 3) % 7] << "\n";
  }
  out << "*** Hole\n";
  for (std::uint64_t i = 0; i < n; ++i) {
    const auto [x, y] = i % 4 == 0 ? parts[i] : std::pair{Coordinate(random), Coordinate(random)};
    out << x << "," << y << "," << diameters[i / 4 % 5] << "\n";
  }
  for (const char* section : {"*** BottomLine\n", "*** TopLine\n"}) {
    out << section;
    long x = Coordinate(random), y = Coordinate(random);
    for (std::uint64_t i = 0; i < n; ++i) {
      // Chains of eight, whose inner ends are shared.
      const long x2 = Coordinate(random), y2 = Coordinate(random);
      out << x << "," << y << "," << x2 << "," << y2 << "," << widths[i / 2 % 6] << "\n";
      if (i % 8 == 7) {
        x = Coordinate(random);
        y = Coordinate(random);
      } else {
        x = x2;
        y = y2;
      }
    }
  }
  for (const char* section : {"*** BottomFill\n", "*** TopFill\n"}) {
    out << section;
    for (std::uint64_t i = 0; i < n; ++i) {
      out << Coordinate(random) << "," << Coordinate(random) << "," << Coordinate(random) << ","
          << Coordinate(random) << "\n";
    }
  }
  Board board;
  board.records = 8 * n;
  board.binaryBytes = n * (3 * sizeof(velmorta::Segment) + 2 * sizeof(velmorta::Land) + sizeof(velmorta::Hole) +
                           2 * sizeof(velmorta::Line));
  board.padBytes = out.bytes();
  return board;
}

Board SharedEnds(const fs::path& pad, std::uint64_t n, bool doubleSided) {
  std::mt19937_64 random(n + 1);
  PadWriter out(pad);
  out << "*** Pitch\n1\n*** Type\n" << (doubleSided ? "1\n" : "0\n");
  const long side = std::max<long>(4, static_cast<long>(std::sqrt(static_cast<double>(n) / 2)));
  const auto point = [&](long i) { return 100 + 10 * i; };
  out << "*** Parts\n";
  const std::uint64_t partCount = static_cast<std::uint64_t>(side * side / 10);
  for (std::uint64_t i = 0; i < partCount; ++i) {
    out << "\"P\",C," << point(static_cast<long>(random() % side)) << "," << point(static_cast<long>(random() % side))
        << "," << static_cast<long>(5 + i % 4) << ",5\n";
  }
  for (const char* section : {"*** TopLine\n", "*** BottomLine\n"}) {
    out << section;
    long x = 0, y = 0;
    std::string previous;
    for (std::uint64_t i = 0; i < n; ++i) {
      std::string record;
      const std::uint64_t kind = random() % 50;
      if (kind == 0 && !previous.empty()) {
        record = previous;  // a repeated record
      } else if (kind == 1) {
        record = std::to_string(point(x)) + "," + std::to_string(point(y)) + "," + std::to_string(point(x)) + "," +
                 std::to_string(point(y)) + ",8";  // zero length
      } else {
        long x2 = x, y2 = y;
        switch (random() % 3) {  // horizontal, vertical or diagonal steps
          case 0: x2 = (x + 1) % side; break;
          case 1: y2 = (y + 1) % side; break;
          default: x2 = (x + 1) % side; y2 = (y + 1) % side; break;
        }
        record = std::to_string(point(x)) + "," + std::to_string(point(y)) + "," + std::to_string(point(x2)) + "," +
                 std::to_string(point(y2)) + "," + std::to_string(8 + static_cast<long>(i / 3 % 4) * 4);
        x = x2;
        y = y2;
        if (random() % 16 == 0) {
          x = static_cast<long>(random() % side);
          y = static_cast<long>(random() % side);
        }
      }
      out << record << "\n";
      previous = std::move(record);
    }
  }
  Board board;
  board.records = 2 * n + partCount;
  board.binaryBytes = 2 * n * sizeof(velmorta::Line) + partCount * sizeof(velmorta::Land);
  board.padBytes = out.bytes();
  return board;
}

}  // namespace velmorta::bench
