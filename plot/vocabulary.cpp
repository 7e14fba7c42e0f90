#include "plot/vocabulary.hpp"

#include "base/fatal.hpp"

namespace velmorta {

namespace {

// An X word always followed at once by the Y word that ends its command.
void At(OutFile& file, Point p, std::string_view tail) {
  file.Put("X", p.X, "Y", p.Y, tail);
}

}  // namespace

void SelectCode(OutFile& file, std::int32_t code) { file.Put("D", code, "*"); }
void MoveExposeOn(OutFile& file, Point p) { At(file, p, "*D01*"); }
void MoveExposeOff(OutFile& file, Point p) { At(file, p, "*D02*"); }
void Flash(OutFile& file, Point p) { At(file, p, "*D03*"); }

void Stroke(OutFile& file, Point from, Point to) {
  MoveExposeOn(file, from);
  MoveExposeOff(file, to);
}

void SelectTool(OutFile& drill, std::int32_t code) { drill.Put("T", code, "\n"); }
void ChangeTool(OutFile& drill, std::int32_t code) { drill.Put("T", code, "*\n"); }
void DrillHit(OutFile& drill, Point p) { At(drill, p, "M05\n"); }
void ThroughHoleHit(OutFile& drill, Point p) { At(drill, p, "*M05\n"); }

void SelectAperture(const ListIndex& list, std::int32_t key, OutFile& file) {
  const auto match = list.LastWithKey(key);
  const auto withCode = match ? list.NonZeroAtOrBefore(*match) : std::nullopt;
  if (!withCode) StopRun(Message::BadApertureSetting);
  SelectCode(file, list.code(*withCode));
}

}  // namespace velmorta
