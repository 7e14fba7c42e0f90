#pragma once

#include "plot/emission.hpp"

namespace velmorta {

// Single-sided boards: every end of a top line that meets neither another top line nor
// a part gets a land flash (file 3), a hole flash (file 6) and a drill hit (file 5).
void EmitFreeEndLands(Emission& e);

}  // namespace velmorta
