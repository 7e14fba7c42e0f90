#include "export/write/kicad_nets.hpp"

#include <algorithm>

namespace velmorta::fab {

namespace {

constexpr std::uint32_t kNoGroup = UINT32_MAX;

}  // namespace

KicadNets::KicadNets(const std::vector<check::OriginGroup>& groups, std::vector<std::string>& names)
    : names_(names) {
  for (const check::OriginGroup& g : groups) {
    if (g.origin.file >= groupOf_.size()) continue;  // not a converter file: never asked for
    std::vector<std::uint32_t>& file = groupOf_[g.origin.file];
    if (file.size() <= g.origin.ordinal) file.resize(std::size_t{g.origin.ordinal} + 1, kNoGroup);
    file[g.origin.ordinal] = std::min(file[g.origin.ordinal], g.group);
  }
}

std::optional<std::uint32_t> KicadNets::GroupOf(std::uint64_t source) const {
  const std::uint64_t file = source >> 32, index = source & UINT32_MAX;
  if (file >= groupOf_.size() || index >= groupOf_[file].size() || groupOf_[file][index] == kNoGroup) {
    return std::nullopt;
  }
  return groupOf_[file][index];
}

std::uint32_t KicadNets::Of(std::uint64_t source, const std::string& padName) {
  const std::optional<std::uint32_t> group = GroupOf(source);
  if (!group) return 0;
  const auto [net, added] = netOf_.emplace(*group, static_cast<std::uint32_t>(names_.size() + 1));
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

std::uint32_t KicadNets::Find(std::uint64_t source) const {
  const std::optional<std::uint32_t> group = GroupOf(source);
  if (!group) return 0;
  const auto net = netOf_.find(*group);
  return net == netOf_.end() ? 0 : net->second;
}

}  // namespace velmorta::fab
