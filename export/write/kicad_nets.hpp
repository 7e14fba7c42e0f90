#pragma once
// KiCad's nets from the copper's connected groups: numbered as first met, each named
// after the first pad that asks for it ("U1-1"), a net without a pad "Net-1", "Net-2".

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "check/run_check.hpp"
#include "geometry/origin.hpp"

namespace velmorta::fab {

class KicadNets {
 public:
  // Names go to `names` (net n at n - 1).
  KicadNets(const std::vector<check::OriginGroup>& groups, std::vector<std::string>& names);

  static std::uint64_t KeyOf(geometry::Origin origin) { return std::uint64_t{origin.file} << 32 | origin.ordinal; }

  // The net of a feature's group (by KeyOf), 0 when its group is unknown.
  std::uint32_t Of(std::uint64_t source, const std::string& padName = {});
  // Every net still without a name gets a number no pad took.
  void NameTheRest();
  // Once every net is numbered: the net of a feature's group, 0 when it has none.
  std::uint32_t Find(std::uint64_t source) const;

 private:
  std::optional<std::uint32_t> GroupOf(std::uint64_t source) const;

  std::vector<std::string>& names_;
  // By file and ordinal: ordinals count a file's features from 1, so a table is as
  // long as its file; a source met twice keeps the smaller group.
  std::array<std::vector<std::uint32_t>, 8> groupOf_;
  std::unordered_map<std::uint32_t, std::uint32_t> netOf_;        // by group
  std::unordered_set<std::string> used_;
};

}  // namespace velmorta::fab
