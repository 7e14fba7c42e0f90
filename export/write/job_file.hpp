#pragma once
// The job file (.gbrjob, JSON) of a set: which file is which, with its function and
// polarity, the board's size from its outline and its number of copper layers.

#include <optional>
#include <string>
#include <vector>

#include "export/model/layer_model.hpp"
#include "geometry/shapes.hpp"

namespace velmorta::fab {

// `layers` are the files of the set; `board` the outline's centre lines (no size when
// empty). Reproducible: the same set gives the same bytes; a creation date only when
// one is given.
std::string WriteJobFile(const std::vector<const FabLayer*>& layers, int copperLayers,
                         const geometry::Extents& board, const std::optional<std::string>& creationDate);

// Text as a JSON string, quotes included; `utf8` must be valid UTF-8.
std::string JsonString(std::string_view utf8);

}  // namespace velmorta::fab
