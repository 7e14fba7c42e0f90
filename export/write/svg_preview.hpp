#pragma once
// A preview of the board that will be built, for any browser: the top as seen from
// above and the bottom mirrored as seen from below, each with its copper, the copper
// bared by the mask openings, the legend, plated and non-plated holes and the outline,
// and the board's size. A legend entry switches its layer off and on.
//
// It is written as the layers are, so that none is held in memory: the start, then each
// layer's features into a group of its own (PreviewBody), then the views, which use the
// groups; the first line, which needs the extents, is written with fields of a fixed
// width that the end fills in.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <unordered_set>
#include <string_view>
#include <vector>

#include "base/out_file.hpp"
#include "catalog/catalog.hpp"
#include "export/model/features.hpp"

namespace velmorta::fab {

// Whether a layer appears in the preview (the drill map repeats the holes).
bool InPreview(const FabLayer& layer);

// A board too large to draw feature by feature is drawn on a grid of square cells: each
// layer's features merged into the cells they touch, written as rows of cells when the
// layer ends, so that the preview's size is bounded whatever the board's.
struct PreviewGrid {
  std::int64_t cell = 0;         // 0.001 mm; 0: every feature as it is
  std::size_t cellsPerLayer = 0;  // beyond this, a layer's new cells are left out
};

class PreviewBody final : public FeatureSink {
 public:
  explicit PreviewBody(OutFile& out, PreviewGrid grid = {}) : out_(out), grid_(grid) {}
  // A group with the layer's id, of paths in 0.001 mm with y negated (SVG's y axis
  // points down), one per run of features of one width: a stroke is "Mx yLx y", a disc
  // (flash or hit) "Mx yl0 0", which round caps draw as a dot of the stroke's width.
  // Compact, so that a million features make tens of megabytes, not hundreds.
  void Begin(const FabLayer& layer);
  void Add(const Feature& feature) override;
  void End();

 private:
  void ClosePath();
  void Path(std::int64_t width, std::string_view piece);
  void Mark(std::int64_t x, std::int64_t y);
  void MarkFeature(const Feature& feature);
  void WriteCells();

  OutFile& out_;
  PreviewGrid grid_;
  std::unordered_set<std::uint64_t> cells_;  // the layer's, on a grid
  struct Corner {
    std::int64_t x = 0, y = 0;
  };
  std::optional<Corner> lastCell_;  // the lower left of the last one marked, in cells_
  std::int64_t widest_ = 0, narrowest_ = INT64_MAX;  // of the layer's features, on a grid
  bool holes_ = false;                               // a drill layer
  std::int64_t width_ = -1;  // of the open path; -1 when none is open
  std::size_t pathLength_ = 0;
};

// The groups of layers fed side by side, in the preview in the order they are opened:
// the first one not yet ended goes straight to the file, each later one is kept in
// memory (a preview is at most 16 MB) until those before it are written.
class PreviewGroups {
 public:
  class Group final : public FeatureSink, private ByteSink {
   public:
    Group(PreviewGroups& groups, const FabLayer& layer, bool direct);
    Group(const Group&) = delete;
    Group& operator=(const Group&) = delete;
    void Add(const Feature& feature) override { body_.Add(feature); }
    // Its last feature has come.
    void End();

   private:
    friend class PreviewGroups;
    void Write(std::string_view bytes) override;

    PreviewGroups& groups_;
    std::string kept_;     // while groups before it are open
    bool direct_ = false;  // its bytes go straight to the file
    bool ended_ = false;
    OutFile out_;
    PreviewBody body_;
  };

  PreviewGroups(OutFile& out, PreviewGrid grid) : out_(out), grid_(grid) {}
  PreviewGroups(const PreviewGroups&) = delete;
  PreviewGroups& operator=(const PreviewGroups&) = delete;
  // The next layer's group.
  Group& Open(const FabLayer& layer);

 private:
  void WriteEnded();

  OutFile& out_;
  PreviewGrid grid_;
  std::deque<Group> groups_;  // stay where they are as more are opened
  std::size_t head_ = 0;      // the first not yet ended
};

// A finding of the board check, marked where it is: a red ring in the view of its side,
// in both for the drill's; its title (a tooltip) says what was found.
struct PreviewMark {
  geometry::Point at;
  std::optional<Side> side;  // none: both views
  std::string title;         // UTF-8
};

struct PreviewCheck {
  std::string key;  // the legend entry that switches the marks off and on (UTF-8)
  std::vector<PreviewMark> marks;
};

struct PreviewFrame {
  std::string title;              // UTF-8
  geometry::Extents ink;          // of every feature shown
  geometry::Extents board;        // the outline's centre lines; empty without one
  std::optional<PreviewCheck> check;  // when the board was checked
  std::int64_t grid = 0;              // the cell of a simplified preview, 0.001 mm; 0: exact
  Language language = Language::English;  // of the labels
};

// The declaration, the root element with its fields unset, the title (UTF-8) and the
// start of the groups.
void WritePreviewStart(OutFile& out, std::string_view title);
// The views and the legend of the `layers` written. Returns the root element with its
// fields set, of the same length as the one WritePreviewStart wrote, for the caller to
// write over it.
std::string WritePreviewEnd(OutFile& out, const std::vector<const FabLayer*>& layers, const PreviewFrame& frame);
inline constexpr std::size_t kPreviewRootOffset = 40;  // after the XML declaration and its CR LF

// "50.800 × 38.100 mm"
std::string BoardSizeText(const geometry::Extents& board);

// Text for XML: markup characters escaped, and what XML 1.0 cannot hold (control
// characters, U+FFFE, U+FFFF) as U+FFFD. `utf8` must be valid UTF-8.
std::string XmlText(std::string_view utf8);

}  // namespace velmorta::fab
