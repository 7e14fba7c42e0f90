#include "plot/line_ends.hpp"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace velmorta {
namespace {

// The rules record by record, every pair compared, as they read before they were
// counted with hash tables.
struct PairwiseEnds {
  std::vector<EndFlags> free, marked;
};

PairwiseEnds Pairwise(const std::vector<Line>& lines, const std::vector<Land>& parts) {
  PairwiseEnds result;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& r = lines[i];
    bool first = true, second = true;
    for (std::size_t j = 0; j < lines.size(); ++j) {
      if (j == i) continue;
      const Line& o = lines[j];
      if ((r.x1 == o.x1 && r.y1 == o.y1) || (r.x1 == o.x2 && r.y1 == o.y2)) first = false;
      if ((r.x2 == o.x1 && r.y2 == o.y1) || (r.x2 == o.x2 && r.y2 == o.y2)) second = false;
    }
    EndFlags free{first, second}, marked{first, second};
    for (const Land& p : parts) {
      if (r.x1 == p.x && r.y1 == p.y) free.first = false;
      if (r.x2 == p.x && r.y2 == p.y) free.second = false;
      if (r.x1 == p.x && r.y1 == p.y) {
        marked.first = true;
      } else if (r.x2 == p.x && r.y2 == p.y) {
        marked.second = true;
      }
    }
    result.free.push_back(free);
    result.marked.push_back(marked);
  }
  return result;
}

TEST(LineEnds, AgreeWithThePairwiseRulesOnRandomBoards) {
  std::mt19937 random(7);
  int boards = 0;
  for (; boards < 3000 && !HasFailure(); ++boards) {
    // Few distinct points, so that ends are shared, repeated and on parts all the time.
    const int grid = 1 + static_cast<int>(random() % 4);
    const auto coordinate = [&] { return static_cast<std::int32_t>(random() % grid) - 1; };
    std::vector<Line> lines;
    const int count = static_cast<int>(random() % 12);
    for (int n = 0; n < count; ++n) {
      Line line{coordinate(), coordinate(), coordinate(), coordinate(), 0};
      const int shape = static_cast<int>(random() % 4);
      if (shape == 0) line = {line.x1, line.y1, line.x1, line.y1, 0};             // zero length
      if (shape == 1 && !lines.empty()) line = lines[random() % lines.size()];  // repeated
      lines.push_back(line);
    }
    std::vector<Land> parts;
    for (int n = static_cast<int>(random() % 4); n > 0; --n) parts.push_back({coordinate(), coordinate(), 0, 0});

    const PairwiseEnds expected = Pairwise(lines, parts);
    const LineEnds ends(lines, parts);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const Line& r = lines[i];
      const EndFlags free = ends.Free(r), marked = ends.Marked(r);
      EXPECT_TRUE(free.first == expected.free[i].first && free.second == expected.free[i].second &&
                  marked.first == expected.marked[i].first && marked.second == expected.marked[i].second)
          << "board " << boards << ", record " << i << " (" << r.x1 << "," << r.y1 << ")-(" << r.x2 << ","
          << r.y2 << ") free " << free.first << free.second << " marked " << marked.first << marked.second
          << ", pairwise " << expected.free[i].first << expected.free[i].second << " and "
          << expected.marked[i].first << expected.marked[i].second;
    }
  }
}

}  // namespace
}  // namespace velmorta
