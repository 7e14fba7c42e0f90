#pragma once
// The board check's model filled from the composed layers while the export streams
// them, so that the converter's files are read once: copper per side with its lands,
// the holes of the plated and non-plated drill files, the profile's strokes as the
// board's edge, and a single-sided board's wire jumpers.

#include <optional>

#include "check/board_model.hpp"
#include "check/findings.hpp"
#include "check/limits.hpp"
#include "check/run_check.hpp"
#include "export/model/features.hpp"
#include "export/write/svg_preview.hpp"

namespace velmorta::fab {

class CheckBoardFiller final : public FeatureSink {
 public:
  // Reserves the memory of every list once: the lands and hits as the surveys counted
  // them, the strokes as their files' coordinate blocks bound them.
  CheckBoardFiller(const LayerModel& model, const BoardFacts& facts, SourceFiles& sources);

  // The layer whose features come next. False when the check reads none of them: the
  // masks repeat the lands, the drill map the holes.
  bool Begin(const FabLayer& layer);
  void Add(const Feature& feature) override;

  // Checks what was filled (once). Throws ExportError when the board is too large to check.
  // What it found and why it stopped are told in `language`; its connected groups go to
  // `groups` when given.
  check::CheckResult Check(std::optional<check::PadFrame> frame, const check::Limits& limits,
                           Language language = Language::English, check::FoundGroups* groups = nullptr);
  // Instead of the check: the copper's connected groups of what was filled (once).
  // Throws check::CheckError or check::CheckStopped as the check would.
  std::vector<check::SourceGroup> Groups(const check::Limits& limits);

 private:
  enum class Into { Nothing, Copper, Holes, Outline, Links };
  struct Target {
    Into into = Into::Nothing;
    check::Side side = check::Side::Bottom;  // Copper
  };
  Target TargetOf(const FabLayer& layer) const;

  check::CheckBoard board_;
  Target target_;
  bool plated_ = false;
  // The check calls the only copper of a single-sided board its bottom; it lies on top
  // when the first side is the top.
  bool onlyCopperOnTop_ = false;
};

// The findings as the preview marks them: each in the view of its side, the drill's in
// both, titled with its kind, measure and limit and its position as typed.
PreviewCheck MarksOf(const check::CheckResult& result, Language language = Language::English);

}  // namespace velmorta::fab
