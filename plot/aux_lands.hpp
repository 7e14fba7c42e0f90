#pragma once

#include "base/outputs.hpp"
#include "plot/emission.hpp"

namespace velmorta {

// A short stroke of the auxiliary-land length laid inward from every line end that
// meets no other line of its side or lies on a part.
void EmitAuxiliaryLands(Emission& e, BoardSide side);

// The inner point of a land at end P of a line whose other end is O (board units).
Point AuxLandInnerPoint(const PlotTransform& plot, std::int32_t length, std::int32_t px, std::int32_t py,
                        std::int32_t ox, std::int32_t oy);

}  // namespace velmorta
