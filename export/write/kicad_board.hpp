#pragma once
// A board in KiCad's terms (footprints of pads, tracks, vias, the edge, the rules) and
// its board file (format 20211014, KiCad 6), written item by item. Positions are
// 0.001 mm with y downward, sizes 0.001 mm; names are UTF-8.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/out_file.hpp"
#include "export/model/fab_settings.hpp"
#include "geometry/shapes.hpp"

namespace velmorta::fab {

struct KicadPad {
  std::string number;          // "1"; empty for a mounting hole
  geometry::Point at;          // on the board
  std::int64_t size = 0;       // a round pad's diameter
  std::int64_t drill = 0;      // 0: a surface pad
  bool plated = true;          // false: a hole without plating or copper
  std::optional<Side> side;    // the copper it is on; none: both
  std::uint32_t net = 0;
};

struct KicadLine {
  geometry::Capsule line;
  std::optional<Side> side;  // a silkscreen line's side; none on the edge
};

struct KicadFootprint {
  std::string reference, value, kind;  // kind names its library entry: "part", "jumper", "hole"
  std::vector<KicadPad> pads;          // the first one's position is the footprint's
  std::vector<KicadLine> silk;
};

struct KicadTrack {
  geometry::Capsule stroke;
  Side side = Side::Top;
  std::uint32_t net = 0;
};

struct KicadVia {
  geometry::Point at;
  std::int64_t size = 0, drill = 0;
  std::uint32_t net = 0;
};

// The board check's limits as the board's own design rules.
struct KicadRules {
  std::int64_t track = 0, clearance = 0, drill = 0, ring = 0, holeSpacing = 0, maskExpansion = 0;
};

// How every board file this export writes begins, until another program saves it.
inline constexpr std::string_view kKicadBoardStart = "(kicad_pcb (version 20211014) (generator velmorta-export)";

// The board file as its items come: the header with the rules and the nets first, then
// every footprint, every line, every track and every via, in that order.
class KicadBoardWriter {
 public:
  // Writes the header. `nets` are the names of nets 1, 2, ..., which the pads name again.
  KicadBoardWriter(OutFile& out, const KicadRules& rules, const std::vector<std::string>& nets);

  void Add(const KicadFootprint& footprint);
  void Add(const KicadLine& line);  // the edge's and the silkscreen's outside footprints
  void Add(const KicadTrack& track);
  void Add(const KicadVia& via);
  void Finish();

 private:
  OutFile& out_;
  const std::vector<std::string>& nets_;
  std::string line_;  // the item being written
};

}  // namespace velmorta::fab
