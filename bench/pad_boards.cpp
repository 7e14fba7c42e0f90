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

Board LaidOut(const fs::path& pad, std::uint64_t n, bool doubleSided) {
  PadWriter out(pad);
  out << "*** Pitch\n1\n*** Type\n" << (doubleSided ? "1\n" : "0\n");
  // Lattice point k of 2n, rows of an even number of points: a part at every even k, a
  // through-hole at every odd one; a cell is the square right of and below its point.
  const long points = static_cast<long>(2 * std::max<std::uint64_t>(n, 1));
  const long side = 2 * std::max(1L, static_cast<long>(std::ceil(std::sqrt(static_cast<double>(points)) / 2)));
  const long rows = (points + side - 1) / side;
  const auto x = [side](long k) { return 200 + 10 * (k % side); };
  const auto y = [side](long k) { return 200 + 10 * (k / side); };
  const auto N = static_cast<long>(n);

  // The edge round the lattice, then a cut-out of 0.5 mm square in the cell of every
  // even point that has no hole (a quarter of them), four segments each.
  out << "*** Area\n";
  const long left = 150, top = 150, right = 200 + 10 * side + 40, bottom = 200 + 10 * rows + 40;
  out << left << "," << top << "," << right << "," << top << "\n" << right << "," << top << "," << right << ","
      << bottom << "\n" << right << "," << bottom << "," << left << "," << bottom << "\n" << left << "," << bottom
      << "," << left << "," << top << "\n";
  for (long i = 0; i < N; i += 4) {
    const long cx = x(2 * i) + 5, cy = y(2 * i) + 5;
    out << cx - 1 << "," << cy - 1 << "," << cx + 1 << "," << cy - 1 << "\n" << cx + 1 << "," << cy - 1 << ","
        << cx + 1 << "," << cy + 1 << "\n" << cx + 1 << "," << cy + 1 << "," << cx - 1 << "," << cy + 1 << "\n"
        << cx - 1 << "," << cy + 1 << "," << cx - 1 << "," << cy - 1 << "\n";
  }
  // Lands of 1.64 mm (code 5).
  out << "*** Parts\n";
  for (long i = 0; i < N; ++i) out << "\"U" << i << "\",DIP," << x(2 * i) << "," << y(2 * i) << ",5,5\n";
  out << "*** ThruHole\n";
  for (long i = 0; i < N; ++i) out << x(2 * i + 1) << "," << y(2 * i + 1) << ",5,5\n";
  // 1.0 mm on a quarter of the parts; 0.8 mm in the middle of the other even cells, one
  // in a thousand 3.0 mm.
  out << "*** Hole\n";
  for (long i = 0; i < N; ++i) {
    if (i % 4 == 0) {
      out << x(2 * i) << "," << y(2 * i) << ",10\n";
    } else {
      out << x(2 * i) + 5 << "," << y(2 * i) + 5 << "," << (i % 1000 == 1 ? "30" : "8") << "\n";
    }
  }
  // 0.6 mm (code 5): part to through-hole along the row, part to the part below (above,
  // in the last row) along the column.
  out << "*** BottomLine\n";
  for (long i = 0; i < N; ++i) out << x(2 * i) << "," << y(2 * i) << "," << x(2 * i + 1) << "," << y(2 * i + 1) << ",5\n";
  out << "*** TopLine\n";
  for (long i = 0; i < N; ++i) {
    const long to = 2 * i + side < points ? 2 * i + side : 2 * i - side;
    out << x(2 * i) << "," << y(2 * i) << "," << x(to < 0 ? 2 * i : to) << "," << y(to < 0 ? 2 * i : to) << ",5\n";
  }
  // Across the middle of each odd cell.
  for (const char* section : {"*** BottomFill\n", "*** TopFill\n"}) {
    out << section;
    for (long i = 0; i < N; ++i) {
      const long k = 2 * i + 1;
      out << x(k) + 3 << "," << y(k) + 5 << "," << x(k) + 7 << "," << y(k) + 5 << "\n";
    }
  }
  Board board;
  board.records = 7 * n + (n + 3) / 4 * 4 + 4;
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
