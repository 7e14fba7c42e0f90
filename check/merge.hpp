#pragma once
// One fault is often found several times: two close tracks are two strokes and their
// end lands, a track along the edge meets several outline segments. Findings of one
// kind, on one layer, about the same subject (the same group or pair of groups of
// copper, the same hole or pair of holes) are one fault when they lie in the same or
// in touching squares of a grid of `distance` (so always when within `distance` of one
// another in x and y, never directly when farther than twice that in x or y), and
// through chains of such. The fault is reported once, by its worst finding, with the
// number of findings. A distance of 0 merges only findings at the same point.

#include <cstdint>
#include <vector>

#include "check/findings.hpp"

namespace velmorta::check {

std::vector<Finding> MergeNearby(std::vector<Finding> findings, std::int32_t distance);

}  // namespace velmorta::check
