#include "export/write/kicad_nets.hpp"

#include <algorithm>

namespace velmorta::fab {

KicadNets::KicadNets(const std::vector<check::OriginGroup>& groups, std::vector<std::string>& names)
    : names_(names) {
  groupOf_.reserve(groups.size());
  for (const check::OriginGroup& g : groups) groupOf_.emplace_back(KeyOf(g.origin), g.group);
  std::sort(groupOf_.begin(), groupOf_.end());
}

std::uint32_t KicadNets::Of(std::uint64_t source, const std::string& padName) {
  const auto group = std::lower_bound(groupOf_.begin(), groupOf_.end(), std::pair<std::uint64_t, std::uint32_t>{source, 0});
  if (group == groupOf_.end() || group->first != source) return 0;
  const auto [net, added] = netOf_.emplace(group->second, static_cast<std::uint32_t>(names_.size() + 1));
  if (added) names_.emplace_back();
  std::string& name = names_[net->second - 1];
  if (name.empty() && !padName.empty() && used_.insert(padName).second) name = padName;
  return net->second;
}

void KicadNets::NameTheRest() {
  std::uint32_t next = 1;
  for (std::string& name : names_) {
    while (name.empty()) {
      std::string candidate = "Net-" + std::to_string(next++);
      if (used_.insert(candidate).second) name = std::move(candidate);
    }
  }
}

}  // namespace velmorta::fab
