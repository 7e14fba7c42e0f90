#include "plot/line_ends.hpp"

namespace velmorta {

LineEnds::LineEnds(std::span<const Line> lines, std::span<const Land> parts)
    : ends_(lines.size() * 2), parts_(parts.size()) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i + kPrefetchAhead < lines.size()) {
      ends_.Prefetch(lines[i + kPrefetchAhead].x1, lines[i + kPrefetchAhead].y1);
      ends_.Prefetch(lines[i + kPrefetchAhead].x2, lines[i + kPrefetchAhead].y2);
    }
    const Line& r = lines[i];
    ends_.Add(r.x1, r.y1);
    if (r.x2 != r.x1 || r.y2 != r.y1) ends_.Add(r.x2, r.y2);
  }
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i + kPrefetchAhead < parts.size()) parts_.Prefetch(parts[i + kPrefetchAhead].x, parts[i + kPrefetchAhead].y);
    parts_.Add(parts[i].x, parts[i].y);
  }
}

void LineEnds::Prefetch(const Line& r) const {
  ends_.Prefetch(r.x1, r.y1);
  ends_.Prefetch(r.x2, r.y2);
  parts_.Prefetch(r.x1, r.y1);
  parts_.Prefetch(r.x2, r.y2);
}

EndFlags LineEnds::Free(const Line& r) const {
  return {!Shared(r.x1, r.y1) && !OnPart(r.x1, r.y1), !Shared(r.x2, r.y2) && !OnPart(r.x2, r.y2)};
}

EndFlags LineEnds::Marked(const Line& r) const {
  const bool sameEnds = r.x1 == r.x2 && r.y1 == r.y2;
  return {!Shared(r.x1, r.y1) || OnPart(r.x1, r.y1),
          !Shared(r.x2, r.y2) || (!sameEnds && OnPart(r.x2, r.y2))};
}

}  // namespace velmorta
