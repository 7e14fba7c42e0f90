#pragma once
// A preview of the board for any browser: every layer in its own colour and its own
// group, and a legend whose entries switch their layer off and on.

#include <string>
#include <string_view>
#include <vector>

#include "export/layer_shapes.hpp"

namespace velmorta::fab {

struct PreviewLayer {
  std::string id;      // the group's id
  std::string label;   // legend text
  std::string colour;  // "#rrggbb"
  Shapes shapes;
};

// Layers are painted in the order given, the first at the bottom.
std::string WriteSvgPreview(const std::vector<PreviewLayer>& layers, std::string_view title);

}  // namespace velmorta::fab
