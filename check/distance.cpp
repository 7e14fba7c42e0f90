#include "check/distance.hpp"

#include <algorithm>
#include <cmath>

#include "check/wide.hpp"

namespace velmorta::check {
namespace {

// Any difference of two 32-bit coordinates is below 2^32 in magnitude, so its square
// fits in 64 unsigned bits and every product below fits in the wide types.
constexpr std::int64_t kFar = std::int64_t{1} << 34;

std::uint64_t Square(std::int64_t d) {
  const std::uint64_t m = d < 0 ? static_cast<std::uint64_t>(-d) : static_cast<std::uint64_t>(d);
  return m * m;
}

// (b - a) x (c - a), exactly.
int Orientation(Point a, Point b, Point c) {
  const Int128 cross = Sub(Product(std::int64_t{b.x} - a.x, std::int64_t{c.y} - a.y),
                           Product(std::int64_t{b.y} - a.y, std::int64_t{c.x} - a.x));
  return Sign(cross);
}

// c, known to be on the line through s, lies within s's box.
bool WithinBox(Segment s, Point c) {
  return std::min(s.a.x, s.b.x) <= c.x && c.x <= std::max(s.a.x, s.b.x) && std::min(s.a.y, s.b.y) <= c.y &&
         c.y <= std::max(s.a.y, s.b.y);
}

struct Projection {
  double x, y, distance;
};

Projection Project(double px, double py, Segment s) {
  const double ax = s.a.x, ay = s.a.y;
  const double vx = static_cast<double>(s.b.x) - ax, vy = static_cast<double>(s.b.y) - ay;
  const double length2 = vx * vx + vy * vy;
  double t = length2 > 0 ? ((px - ax) * vx + (py - ay) * vy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  const double x = ax + t * vx, y = ay + t * vy;
  return {x, y, std::hypot(px - x, py - y)};
}

}  // namespace

int CompareTwiceDistance(Point p, Point q, std::int64_t k) {
  if (k < 0) return 1;
  if (k >= kFar) return -1;
  const std::int64_t dx = std::int64_t{p.x} - q.x, dy = std::int64_t{p.y} - q.y;
  // 4 (dx^2 + dy^2) < 2^67 and k^2 < 2^68: both fit in 128 bits.
  const U128 d2 = Add(U128{0, Square(dx)}, U128{0, Square(dy)});
  const U128 lhs{(d2.hi << 2) | (d2.lo >> 62), d2.lo << 2};
  return Compare(lhs, Mul64(static_cast<std::uint64_t>(k), static_cast<std::uint64_t>(k)));
}

int CompareTwiceDistance(Point p, Segment s, std::int64_t k) {
  if (s.a == s.b) return CompareTwiceDistance(p, s.a, k);
  if (k < 0) return 1;
  if (k >= kFar) return -1;
  const std::int64_t vx = std::int64_t{s.b.x} - s.a.x, vy = std::int64_t{s.b.y} - s.a.y;
  const std::int64_t wx = std::int64_t{p.x} - s.a.x, wy = std::int64_t{p.y} - s.a.y;
  // Where p projects: before a, past b, or between them.
  const Int128 along = Add(Product(wx, vx), Product(wy, vy));
  if (Sign(along) <= 0) return CompareTwiceDistance(p, s.a, k);
  const U128 length2 = Add(U128{0, Square(vx)}, U128{0, Square(vy)});  // below 2^65
  if (Compare(ToU128(along), length2) >= 0) return CompareTwiceDistance(p, s.b, k);
  // Between: distance = |v x w| / |v|, so compare 4 (v x w)^2 with k^2 |v|^2. The cross
  // product is below 2^65, its square times 4 below 2^132; k^2 |v|^2 below 2^133.
  const U128 cross = Magnitude(Sub(Product(vx, wy), Product(vy, wx)));
  const U256 lhs = ShiftLeft(Mul(cross, cross), 2);
  const U256 rhs = Mul(Mul64(static_cast<std::uint64_t>(k), static_cast<std::uint64_t>(k)), length2);
  return Compare(lhs, rhs);
}

bool Intersect(Segment s, Segment t) {
  const int o1 = Orientation(s.a, s.b, t.a), o2 = Orientation(s.a, s.b, t.b);
  const int o3 = Orientation(t.a, t.b, s.a), o4 = Orientation(t.a, t.b, s.b);
  if (o1 * o2 < 0 && o3 * o4 < 0) return true;
  return (o1 == 0 && WithinBox(s, t.a)) || (o2 == 0 && WithinBox(s, t.b)) || (o3 == 0 && WithinBox(t, s.a)) ||
         (o4 == 0 && WithinBox(t, s.b));
}

int CompareTwiceDistance(Segment s, Segment t, std::int64_t k) {
  if (s.a == s.b) return CompareTwiceDistance(s.a, t, k);
  if (t.a == t.b) return CompareTwiceDistance(t.a, s, k);
  if (k < 0) return 1;
  if (Intersect(s, t)) return k > 0 ? -1 : 0;
  // Apart, the nearest points include an end point of one of them.
  int result = 1;
  for (const int c : {CompareTwiceDistance(s.a, t, k), CompareTwiceDistance(s.b, t, k),
                      CompareTwiceDistance(t.a, s, k), CompareTwiceDistance(t.b, s, k)}) {
    result = std::min(result, c);
  }
  return result;
}

Closest ClosestPoints(Segment s, Segment t) {
  if (s.a == s.b || t.a == t.b || !Intersect(s, t)) {
    Closest best{HUGE_VAL};
    const auto consider = [&](double px, double py, Segment other, bool fromS) {
      const Projection q = Project(px, py, other);
      if (q.distance < best.distance) {
        best = fromS ? Closest{q.distance, px, py, q.x, q.y} : Closest{q.distance, q.x, q.y, px, py};
      }
    };
    consider(s.a.x, s.a.y, t, true);
    consider(s.b.x, s.b.y, t, true);
    consider(t.a.x, t.a.y, s, false);
    consider(t.b.x, t.b.y, s, false);
    return best;
  }
  // They meet: where the lines cross, or, when they are collinear, an end point on the other.
  const double ax = s.a.x, ay = s.a.y;
  const double rx = static_cast<double>(s.b.x) - ax, ry = static_cast<double>(s.b.y) - ay;
  const double qx = static_cast<double>(t.b.x) - t.a.x, qy = static_cast<double>(t.b.y) - t.a.y;
  const double denominator = rx * qy - ry * qx;
  if (denominator != 0) {
    const double u = std::clamp(((t.a.x - ax) * qy - (t.a.y - ay) * qx) / denominator, 0.0, 1.0);
    const double x = ax + u * rx, y = ay + u * ry;
    return {0, x, y, x, y};
  }
  for (const Point p : {s.a, s.b}) {
    if (WithinBox(t, p)) return {0, double(p.x), double(p.y), double(p.x), double(p.y)};
  }
  const Point p = WithinBox(s, t.a) ? t.a : t.b;
  return {0, double(p.x), double(p.y), double(p.x), double(p.y)};
}

}  // namespace velmorta::check
