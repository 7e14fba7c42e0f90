#pragma once
// The output vocabulary: the plot transform, the command strings, the idioms built from
// them, and the aperture selection. Every writer goes through these.

#include <cstdint>

#include "base/numbers.hpp"
#include "base/out_file.hpp"
#include "plot/list_index.hpp"

namespace velmorta {

struct Point {  // output coordinates, 0.001 mm
  std::int32_t X = 0;
  std::int32_t Y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Board units to output units: X measured from MinX, Y downwards from MaxY, both offset
// by the margin. The arithmetic wraps at 32 bits.
class PlotTransform {
 public:
  PlotTransform(std::int32_t minX, std::int32_t maxY, std::int32_t margin)
      : minX_(minX), maxY_(maxY), margin_(margin) {}

  std::int32_t X(std::int32_t x) const { return Wrap32(std::int64_t{x} - minX_ + margin_); }
  std::int32_t Y(std::int32_t y) const { return Wrap32(std::int64_t{margin_} + maxY_ - y); }
  Point operator()(std::int32_t x, std::int32_t y) const { return {X(x), Y(y)}; }

  std::int32_t minX() const { return minX_; }
  std::int32_t maxY() const { return maxY_; }
  std::int32_t margin() const { return margin_; }

 private:
  std::int32_t minX_, maxY_, margin_;
};

void SelectCode(OutFile& file, std::int32_t code);     // D<code>*
void MoveExposeOn(OutFile& file, Point p);              // X..Y..*D01*
void MoveExposeOff(OutFile& file, Point p);             // X..Y..*D02*
void Stroke(OutFile& file, Point from, Point to);
void Flash(OutFile& file, Point p);                     // X..Y..*D03*
void SelectTool(OutFile& drill, std::int32_t code);     // T<code>, one line
void ChangeTool(OutFile& drill, std::int32_t code);     // T<code>*, one line
void DrillHit(OutFile& drill, Point p);                 // X..Y..M05, one line
void ThroughHoleHit(OutFile& drill, Point p);           // X..Y..*M05, one line

// Writes the code of the last entry with the key, or of the nearest earlier entry with
// a code when its own is 0. Without either the run ends: a plotter given a wrong
// aperture would spoil the film.
void SelectAperture(const ListIndex& list, std::int32_t key, OutFile& file);

}  // namespace velmorta
