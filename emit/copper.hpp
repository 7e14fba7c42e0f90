#pragma once
// Copper lines and fills: the top side into output file 2, the bottom side into 1.

#include "plot/emission.hpp"

namespace velmorta {

void SelectFixedTopLineAperture(Emission& e);
void EmitTopLines(Emission& e);
void EmitTopFills(Emission& e);
void SelectFixedBottomLineAperture(Emission& e);
void EmitBottomLines(Emission& e);
void EmitBottomFills(Emission& e);

// Output Y of a fill end: 25.4 output units less, truncated toward zero.
std::int32_t FillY(std::int32_t outputY);

}  // namespace velmorta
