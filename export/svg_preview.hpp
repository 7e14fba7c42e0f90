#pragma once
// A preview of the board that will be built, for any browser: the top as seen from
// above and the bottom mirrored as seen from below, each with its copper, the copper
// bared by the mask openings, the legend, plated and non-plated holes and the outline,
// and the board's size. A legend entry switches its layer off and on.
//
// It is written in two steps, so that no layer is held in memory: while the layers are
// written, their features go into groups of a body file (PreviewBody); at the end the
// picture is its header, which needs the extents, the body copied, and the views.

#include <string>
#include <string_view>

#include "base/out_file.hpp"
#include "export/features.hpp"

namespace velmorta::fab {

// Whether a layer appears in the preview (the drill map repeats the holes).
bool InPreview(const FabLayer& layer);

class PreviewBody final : public FeatureSink {
 public:
  explicit PreviewBody(OutFile& out) : out_(out) {}
  // A group with the layer's id: <path> for strokes, <circle> for flashes and hits, in
  // 0.001 mm with y negated (SVG's y axis points down).
  void Begin(const FabLayer& layer);
  void Add(const Feature& feature) override;
  void End();

 private:
  OutFile& out_;
};

struct PreviewFrame {
  std::string title;              // UTF-8
  geometry::Extents ink;          // of every feature shown
  geometry::Extents board;        // the outline's centre lines; empty without one
};

// The whole picture into `out`, with the body file at `bodyPath` copied in.
void WritePreview(OutFile& out, const std::string& bodyPath, const LayerModel& model, const PreviewFrame& frame);

// "50.800 × 38.100 mm"
std::string BoardSizeText(const geometry::Extents& board);

// Text for XML: markup characters escaped, and what XML 1.0 cannot hold (control
// characters, U+FFFE, U+FFFF) as U+FFFD. `utf8` must be valid UTF-8.
std::string XmlText(std::string_view utf8);

}  // namespace velmorta::fab
