#include "plot/aperture_rules.hpp"

#include "base/fatal.hpp"

namespace velmorta {

std::int32_t GuardedCode(const ListIndex& list, const PitchPair& defaults, PitchMode pitch, Message failure) {
  if (list.size() == 0) StopRun(failure);
  std::optional<std::size_t> at = list.size() - 1;
  if (pitch == PitchMode::One) at = list.LastWithKey(defaults.first);
  if (pitch == PitchMode::Two) at = list.LastWithKey(defaults.second);
  if (at) at = list.NonZeroAtOrBefore(*at);
  if (!at) StopRun(failure);
  return list.code(*at);
}

std::optional<std::int32_t> LandClassKey(PitchMode pitch, std::int32_t code) {
  if (pitch == PitchMode::One) return code < 7 ? 164 : 224;
  if (pitch == PitchMode::Two) {
    if (code <= 5) return 164;
    if (code <= 7) return 200;
    if (code <= 15) return 224;
  }
  return std::nullopt;
}

std::optional<std::int32_t> LineClassKey(PitchMode pitch, std::int32_t width, BoardSide side) {
  if (pitch == PitchMode::One) {
    if (width <= 0) return side == BoardSide::Second ? 6 : 8;
    if (width <= 7) return 6;
    if (width <= 10) return 8;
    if (width <= 14) return 10;
    if (width <= 20) return 12;
    if (width <= 30) return 14;
  } else if (pitch == PitchMode::Two) {
    if (width <= 0) return side == BoardSide::Second ? 3 : 4;
    if (width <= 3) return 3;  // below 3.5
    if (width <= 5) return 4;
    if (width <= 7) return 5;
    if (width <= 10) return 6;
    if (width <= 15) return 8;
  }
  return std::nullopt;
}

std::optional<std::int32_t> AuxLandClassKey(PitchMode pitch, std::int32_t width) {
  if (pitch == PitchMode::One) {
    if (width >= 1 && width <= 7) return 8;
    if (width <= 10) return 10;
    if (width <= 14) return 12;
    if (width <= 20) return 14;
    if (width <= 30) return 16;
  } else if (pitch == PitchMode::Two) {
    if (width >= 1 && width <= 3) return 6;
    if (width <= 5) return 8;
    if (width <= 7) return 10;
    if (width <= 10) return 12;
    if (width <= 15) return 14;
  }
  return std::nullopt;
}

}  // namespace velmorta
