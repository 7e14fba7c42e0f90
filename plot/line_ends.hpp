#pragma once
// Which ends of a line table's records meet another record or a part. "Some other
// record has an end at P" is "at least two distinct records have an end at P", since
// the record itself has one there; counting once per record per point answers it for
// every end in linear time.

#include <span>

#include "board/board.hpp"
#include "board/point_table.hpp"

namespace velmorta {

struct EndFlags {
  bool first = false;   // (x1, y1)
  bool second = false;  // (x2, y2)
};

class LineEnds {
 public:
  LineEnds(std::span<const Line> lines, std::span<const Land> parts);

  // Ends that meet neither another line nor a part.
  EndFlags Free(const Line& line) const;
  // Ends that meet no other line, or lie on a part. A part at the first end marks only
  // the first end, even when both ends are the same point.
  EndFlags Marked(const Line& line) const;
  // Prefetches what Free or Marked of the line will look up.
  void Prefetch(const Line& line) const;

 private:
  bool Shared(std::int32_t x, std::int32_t y) const { return ends_.Count(x, y) >= 2; }
  bool OnPart(std::int32_t x, std::int32_t y) const { return parts_.Contains(x, y); }

  PointTable ends_;
  PointTable parts_;
};

}  // namespace velmorta
