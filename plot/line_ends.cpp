#include "plot/line_ends.hpp"

namespace velmorta {

LineEnds::LineEnds(std::span<const Line> lines, std::span<const Land> parts)
    : ends_(lines.size() * 2), parts_(parts.size()) {
  VisitWithPrefetch(
      lines,
      [this](const Line& r) {
        ends_.Prefetch(r.x1, r.y1);
        ends_.Prefetch(r.x2, r.y2);
      },
      [this](std::size_t, const Line& r) {
        ends_.Add(r.x1, r.y1);
        if (r.x2 != r.x1 || r.y2 != r.y1) ends_.Add(r.x2, r.y2);
      });
  VisitWithPrefetch(
      parts, [this](const Land& p) { parts_.Prefetch(p.x, p.y); },
      [this](std::size_t, const Land& p) { parts_.Add(p.x, p.y); });
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
