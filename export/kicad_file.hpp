#pragma once
// BOARD.kicad_pcb in the output directory beside the set, for carrying the board on in
// KiCad. Its features come from the export's own walk and its nets from the check's
// connected groups; it is written to a staging name after the set and moved in place
// after it; one that was saved since by another program (KiCad itself) is never replaced.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "check/limits.hpp"
#include "check/run_check.hpp"
#include "export/check_board.hpp"
#include "export/fab_set.hpp"
#include "export/write/kicad_mapping.hpp"

namespace velmorta::fab {

struct KicadOutcome {
  std::string path;     // where it is (or would be)
  bool written = false;
  Part::Told warning;  // why it is not written, or what it lacks; UTF-8 names
};

// What the board for KiCad is made of, taken from the export's one walk and its check:
// the features of the copper, the drills, the profile and the legend as the layers are
// written, then the copper's connected groups for the nets.
class KicadGatherer {
 public:
  // Room for every layer at once: a layer's features never move as the next one comes.
  explicit KicadGatherer(const LayerModel& model) { layers_.reserve(model.layers.size()); }

  // What takes the features of `layer`, fed side by side with the other layers' in the
  // walk; layers are given in the model's order. None when the board for KiCad takes
  // none of them: the masks repeat the lands, the drill map the holes.
  FeatureSink* Into(const FabLayer& layer);

  // The groups as the check handed them back, or of the check's board filled without a
  // check (its CheckStopped or CheckError caught: the board then has no nets).
  void TakeGroups(check::FoundGroups found);
  void TakeGroups(CheckBoardFiller& filler, const check::Limits& limits);

  // Why the copper's groups are not known: the check's reason and its count.
  struct NoGroups {
    Text reason;
    std::uint64_t count = 0;
  };
  const std::optional<NoGroups>& Unknown() const { return unknown_; }
  // Moves the features and the groups into `inputs`.
  void MoveInto(KicadInputs& inputs);

 private:
  // One layer's items, in the order the walk gives them.
  struct LayerItems final : FeatureSink {
    explicit LayerItems(std::deque<KicadItem>& list) : items(list) {}
    void Add(const Feature& feature) override;
    std::deque<KicadItem>& items;
  };
  std::vector<KicadInputs::Layer> layers_;
  std::deque<LayerItems> sinks_;
  std::vector<check::OriginGroup> groups_;
  std::optional<NoGroups> unknown_;
};

class KicadBoardFile {
 public:
  // Before the set is written: whether a board for KiCad can be written at all (not over
  // one saved since by another program, not without the pad file's parts, which it reads).
  KicadBoardFile(const ConvertedBoard& board, const std::string& base, const check::Limits& limits);
  KicadBoardFile(const KicadBoardFile&) = delete;
  KicadBoardFile& operator=(const KicadBoardFile&) = delete;
  ~KicadBoardFile();  // removes a staged file never committed

  // What the walk and the check give what the file is made of; null when none is written.
  KicadGatherer* Gatherer() { return gatherer_ ? &*gatherer_ : nullptr; }

  // Maps what was gathered and writes the staged file as it goes. Throws ExportError
  // when it cannot be written.
  void Write();

  // Moves the staged file in place. Throws ExportError.
  KicadOutcome Commit();

 private:
  bool KeptAsSaved();  // one saved since by another program, with the warning

  std::string shown_;  // the file's name, in UTF-8
  std::string padName_;  // the pad file's base name, in UTF-8, for a mismatch
  KicadOutcome outcome_;
  std::optional<KicadGatherer> gatherer_;
  KicadInputs inputs_;
  std::string staged_;  // empty when nothing is staged
};

}  // namespace velmorta::fab
