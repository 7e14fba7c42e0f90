#include "export/layer_shapes.hpp"

#include <algorithm>

namespace velmorta::fab {
namespace {

std::int64_t SizeOf(const CodeTable& codes, std::int32_t code) {
  const auto found = codes.find(code);
  return found != codes.end() ? found->second.size.micrometres : 0;
}

}  // namespace

Shapes GerberShapes(const GerberProgram& program, const CodeTable& codes) {
  Shapes shapes;
  std::int32_t x = 0, y = 0, code = 0;
  for (const GerberOp& op : program.ops) {
    switch (op.kind) {
      case GerberOpKind::Select: code = op.code; break;
      case GerberOpKind::Draw: shapes.strokes.push_back({x, y, op.x, op.y, SizeOf(codes, code)}); break;
      case GerberOpKind::Flash: shapes.dots.push_back({op.x, op.y, SizeOf(codes, code)}); break;
      case GerberOpKind::Linear:
      case GerberOpKind::Move:
      case GerberOpKind::End: break;
    }
    if (op.kind == GerberOpKind::Move || op.kind == GerberOpKind::Draw || op.kind == GerberOpKind::Flash) {
      x = op.x;
      y = op.y;
    }
  }
  return shapes;
}

Shapes DrillShapes(const DrillProgram& program, const CodeTable& codes) {
  Shapes shapes;
  for (const DrillOp& op : program.ops) {
    if (op.kind == DrillOpKind::Hit) shapes.dots.push_back({op.x, op.y, SizeOf(codes, op.tool)});
  }
  return shapes;
}

void Extents::Add(std::int64_t x, std::int64_t y, std::int64_t radius) {
  if (empty) {
    minX = maxX = x;
    minY = maxY = y;
    empty = false;
  }
  minX = std::min(minX, x - radius);
  minY = std::min(minY, y - radius);
  maxX = std::max(maxX, x + radius);
  maxY = std::max(maxY, y + radius);
}

void Extents::Add(const Extents& other) {
  if (other.empty) return;
  Add(other.minX, other.minY, 0);
  Add(other.maxX, other.maxY, 0);
}

Extents ExtentsOf(const Shapes& shapes) {
  // Radii in half units, so odd diameters lose nothing; halved at the end.
  Extents twice;
  for (const Stroke& s : shapes.strokes) {
    twice.Add(2 * std::int64_t{s.x1}, 2 * std::int64_t{s.y1}, s.width);
    twice.Add(2 * std::int64_t{s.x2}, 2 * std::int64_t{s.y2}, s.width);
  }
  for (const Dot& d : shapes.dots) twice.Add(2 * std::int64_t{d.x}, 2 * std::int64_t{d.y}, d.diameter);
  if (twice.empty) return twice;
  // Outward to whole units.
  auto floorHalf = [](std::int64_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); };
  auto ceilHalf = [](std::int64_t v) { return v >= 0 ? (v + 1) / 2 : -((-v) / 2); };
  return Extents{false, floorHalf(twice.minX), floorHalf(twice.minY), ceilHalf(twice.maxX), ceilHalf(twice.maxY)};
}

}  // namespace velmorta::fab
