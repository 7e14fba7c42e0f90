#pragma once
// The exposed geometry of a layer, in 0.001 mm: strokes of round apertures and round
// dots (flashes and drill hits). The preview draws it; its extents are the layer's.

#include <cstdint>
#include <vector>

#include "export/code_table.hpp"

namespace velmorta::fab {

struct Stroke {
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::int64_t width = 0;
};

struct Dot {
  std::int32_t x = 0, y = 0;
  std::int64_t diameter = 0;
};

struct Shapes {
  std::vector<Stroke> strokes;
  std::vector<Dot> dots;
};

// Strokes start at the current point, which is the origin before the first block.
Shapes GerberShapes(const GerberProgram& program, const CodeTable& codes);
Shapes DrillShapes(const DrillProgram& program, const CodeTable& codes);

struct Extents {
  bool empty = true;
  std::int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;

  void Add(std::int64_t x, std::int64_t y, std::int64_t radius);
  void Add(const Extents& other);
};

// Everything a round aperture covers, ink to ink.
Extents ExtentsOf(const Shapes& shapes);

}  // namespace velmorta::fab
