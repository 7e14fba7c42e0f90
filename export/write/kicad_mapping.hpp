#pragma once
// The exported layers in KiCad's terms. Each part name of the pad file is a footprint
// whose pads are its lands in the order of the file, drilled where the drill file hits
// them; through-holes are vias; holes without a land are mounting holes; lines, fills
// and auxiliary lands are tracks; a single-sided board's wire jumpers are silkscreen
// lines with their drilled free ends as pads; the profile is the edge. Nets are the
// copper's connected groups, each named after one of its pads ("U1-1").
//
// Sizes and positions are those of the features the Gerber and drill writers get;
// positions are the pad file's own, in 0.001 mm, with its y downward.

#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/out_file.hpp"
#include "check/board_model.hpp"
#include "check/run_check.hpp"
#include "export/model/features.hpp"
#include "export/write/kicad_board.hpp"
#include "export/read/pad_parts.hpp"

namespace velmorta::fab {

// What the mapping keeps of a feature: a stroke, or a flash or hit as a stroke of no
// length with its diameter as width.
struct KicadItem {
  geometry::Capsule shape;
  std::uint32_t ordinal = 0;
  Output file{};
  FeatureKind kind{};

  geometry::Origin origin() const { return {static_cast<std::uint8_t>(file), ordinal}; }
};
KicadItem ItemOf(const Feature& feature);

struct KicadInputs {
  struct Layer {
    const FabLayer* layer = nullptr;
    std::deque<KicadItem> features;  // no copy as it grows, nor room to spare
  };
  std::vector<Layer> layers;  // copper, drills, profile and legend, as walked
  std::vector<PartLand> parts;
  check::PadFrame frame;
  std::vector<check::OriginGroup> groups;  // empty: every item without a net
  KicadRules rules;
};

// The pad file's parts are not the lands of the converter's files: the first part that
// is not (its record, from 1, and its name in UTF-8).
struct KicadMismatch : std::runtime_error {
  KicadMismatch(std::size_t k, std::string utf8Name)
      : std::runtime_error("its Parts record " + std::to_string(k) + " (\"" + utf8Name +
                           "\") is not the land the converter wrote"),
        record(k),
        name(std::move(utf8Name)) {}
  std::size_t record;
  std::string name;
};

// The board mapped in two rounds over the inputs, so that the whole board is never held:
// the first decides what each item becomes and numbers and names the nets, which the
// file's header lists; Write then writes the items in the file's order.
class KicadMapping {
 public:
  // The first round. Throws KicadMismatch.
  explicit KicadMapping(KicadInputs inputs);
  KicadMapping(const KicadMapping&) = delete;
  KicadMapping& operator=(const KicadMapping&) = delete;
  ~KicadMapping();

  void Write(OutFile& out);

 private:
  class Mapper;
  std::unique_ptr<Mapper> mapper_;
};

}  // namespace velmorta::fab
