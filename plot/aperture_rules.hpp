#pragma once
// How apertures and tools are chosen: the guarded look-ups of the fixed apertures and
// the default drill tool, the size classes, and the change detection of sized selections.

#include <cstdint>
#include <optional>

#include "base/messages.hpp"
#include "base/outputs.hpp"
#include "board/board.hpp"
#include "config/settings.hpp"
#include "plot/list_index.hpp"

namespace velmorta {

// The code for a default: the last entry whose key is the default for the pitch, or,
// with a pitch other than 1 or 2, the last entry; then the nearest entry with a code at
// or before it. Without one the run ends with `failure`.
std::int32_t GuardedCode(const ListIndex& list, const PitchPair& defaults, PitchMode pitch, Message failure);

// Size classes: the key a size code selects, if any.
std::optional<std::int32_t> LandClassKey(PitchMode pitch, std::int32_t code);
std::optional<std::int32_t> LineClassKey(PitchMode pitch, std::int32_t width, BoardSide side);
std::optional<std::int32_t> AuxLandClassKey(PitchMode pitch, std::int32_t width);

// A sized selection is made only when the raw code differs from the previous record's
// (0 before the first).
class ChangeDetector {
 public:
  bool Changed(std::int32_t code) {
    const bool changed = code != previous_;
    previous_ = code;
    return changed;
  }

 private:
  std::int32_t previous_ = 0;
};

}  // namespace velmorta
