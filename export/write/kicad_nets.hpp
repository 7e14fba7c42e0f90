#pragma once
// KiCad's nets from the copper's connected groups: numbered as first met, each named
// after the first pad that asks for it ("U1-1"), a net without a pad "Net-1", "Net-2".

#include <cstdint>
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

 private:
  std::vector<std::string>& names_;
  std::vector<std::pair<std::uint64_t, std::uint32_t>> groupOf_;  // by source, sorted
  std::unordered_map<std::uint32_t, std::uint32_t> netOf_;        // by group
  std::unordered_set<std::string> used_;
};

}  // namespace velmorta::fab
