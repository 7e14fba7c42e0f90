#pragma once
// Land flashes (output files 3 and 4), the hole drawing (6) and the drill data (5).

#include "plot/emission.hpp"

namespace velmorta {

void SelectDefaultDrillTool(Emission& e);   // drill file and hole drawing
void SelectFixedLandAperture(Emission& e);  // "L1" only
void EmitPartLandsFirstSide(Emission& e);   // drills the lands without a hole record
void EmitPartLandsSecondSide(Emission& e);  // double-sided boards
void EmitThroughHoles(Emission& e);         // double-sided boards
void EmitHoles(Emission& e);                // with their tool changes

}  // namespace velmorta
