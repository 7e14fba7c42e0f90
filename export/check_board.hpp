#pragma once
// The board check's model filled from the composed layers while the export streams
// them, so that the converter's files are read once: copper per side with its lands,
// the holes of the plated and non-plated drill files, the profile's strokes as the
// board's edge, and a single-sided board's wire jumpers.

#include <deque>
#include <optional>

#include "check/board_model.hpp"
#include "check/findings.hpp"
#include "check/limits.hpp"
#include "check/run_check.hpp"
#include "export/model/features.hpp"
#include "export/write/svg_preview.hpp"

namespace velmorta::fab {

class CheckBoardFiller {
 public:
  // Reserves the memory of every list once: the lands and hits as the land and drill
  // files counted them, the rest as their files' sizes bound them (what is reserved
  // and never filled is never touched, and takes no memory).
  CheckBoardFiller(const LayerModel& model, const BoardFacts& facts, const SourceFiles& sources);
  CheckBoardFiller(const CheckBoardFiller&) = delete;
  CheckBoardFiller& operator=(const CheckBoardFiller&) = delete;

  // Where the features of `layer` go, whenever they come; null when the check reads
  // none of them: the masks repeat the lands, the drill map the holes.
  FeatureSink* Into(const FabLayer& layer);

  // Checks what was filled (once). Throws ExportError when the board is too large to check.
  // What it found and why it stopped are told in `language`; its connected groups go to
  // `groups` when given.
  check::CheckResult Check(std::optional<check::PadFrame> frame, const check::Limits& limits,
                           Language language = Language::English, check::FoundGroups* groups = nullptr);
  // Instead of the check: the copper's connected groups of what was filled (once).
  // Throws check::CheckError or check::CheckStopped as the check would.
  std::vector<check::OriginGroup> Groups(const check::Limits& limits);

 private:
  enum class List { Nothing, Copper, Holes, Outline, Links };
  struct Target {
    List list = List::Nothing;
    check::Side side = check::Side::Bottom;  // Copper
    bool plated = false;                     // Holes
  };
  // One layer's features into their list.
  class LayerTarget final : public FeatureSink {
   public:
    LayerTarget(CheckBoardFiller& filler, Target target) : filler_(filler), target_(target) {}
    void Add(const Feature& feature) override { filler_.Put(target_, feature); }

   private:
    CheckBoardFiller& filler_;
    Target target_;
  };

  Target TargetOf(const FabLayer& layer) const;
  void Put(const Target& target, const Feature& feature);

  check::CheckBoard board_;
  std::deque<LayerTarget> targets_;  // stay where they are as more are made
  // The check calls the only copper of a single-sided board its bottom; it lies on top
  // when the first side is the top.
  bool onlyCopperOnTop_ = false;
};

// The findings as the preview marks them: each in the view of its side, the drill's in
// both, titled with its kind, measure and limit and its position as typed.
PreviewCheck MarksOf(const check::CheckResult& result, Language language = Language::English);

}  // namespace velmorta::fab
