#include "plot/vocabulary.hpp"

#include "driver/fatal.hpp"

namespace velmorta {

void SelectCode(OutFile& file, std::int32_t code) { file.Put("D", code, "*"); }

void MoveExposeOn(OutFile& file, Point p) { file.Put("X", p.X, "Y", p.Y, "*D01*"); }

void MoveExposeOff(OutFile& file, Point p) { file.Put("X", p.X, "Y", p.Y, "*D02*"); }

void Stroke(OutFile& file, Point from, Point to) {
  MoveExposeOn(file, from);
  MoveExposeOff(file, to);
}

void Flash(OutFile& file, Point p) { file.Put("X", p.X, "Y", p.Y, "*D03*"); }

void SelectTool(OutFile& drill, std::int32_t code) { drill.Put("T", code, "\n"); }

void ChangeTool(OutFile& drill, std::int32_t code) { drill.Put("T", code, "*\n"); }

void DrillHit(OutFile& drill, Point p) { drill.Put("X", p.X, "Y", p.Y, "M05\n"); }

void ThroughHoleHit(OutFile& drill, Point p) { drill.Put("X", p.X, "Y", p.Y, "*M05\n"); }

void SelectAperture(const ListIndex& list, std::int32_t key, OutFile& file) {
  const auto match = list.LastWithKey(key);
  const auto withCode = match ? list.NonZeroAtOrBefore(*match) : std::nullopt;
  if (!withCode) StopRun(Message::BadApertureSetting);
  SelectCode(file, list.code(*withCode));
}

}  // namespace velmorta
