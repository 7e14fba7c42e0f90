#pragma once

#include "base/output_set.hpp"
#include "config/settings.hpp"

namespace velmorta {

// Creates output files 1 to 7 in order; the first that cannot be created ends the run
// with the bad-output-directory message, before anything is written to any of them.
OutputSet OpenOutputFiles(const Settings& settings);

}  // namespace velmorta
