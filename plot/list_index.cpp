#include "plot/list_index.hpp"

#include <algorithm>

namespace velmorta {

ListIndex::ListIndex(const CodeList& list)
    : list_(list), nonZeroAtOrBefore_(list.size()), nonZeroAtOrAfter_(list.size()), lastOfSmallKey_(kSmallKeys) {
  std::size_t lastNonZero = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    positions_[list[i].key].push_back(i);
    if (list[i].key >= 0 && list[i].key < kSmallKeys) lastOfSmallKey_[static_cast<std::size_t>(list[i].key)] = i + 1;
    if (list[i].code != 0) lastNonZero = i + 1;
    nonZeroAtOrBefore_[i] = lastNonZero;
  }
  std::size_t nextNonZero = 0;
  for (std::size_t i = list.size(); i-- > 0;) {
    if (list[i].code != 0) nextNonZero = i + 1;
    nonZeroAtOrAfter_[i] = nextNonZero;
  }
}

std::optional<std::size_t> ListIndex::LastWithKey(std::int32_t key) const {
  if (key >= 0 && key < kSmallKeys) {
    const std::size_t last = lastOfSmallKey_[static_cast<std::size_t>(key)];
    if (last == 0) return std::nullopt;
    return last - 1;
  }
  return LastWithKeyBefore(key, list_.size());
}

std::optional<std::size_t> ListIndex::LastWithKeyBefore(std::int32_t key, std::size_t end) const {
  const auto found = positions_.find(key);
  if (found == positions_.end()) return std::nullopt;
  const std::vector<std::size_t>& at = found->second;
  const auto it = std::lower_bound(at.begin(), at.end(), end);
  if (it == at.begin()) return std::nullopt;
  return *(it - 1);
}

std::optional<std::size_t> ListIndex::FirstWithKey(std::int32_t key) const {
  const auto found = positions_.find(key);
  if (found == positions_.end()) return std::nullopt;
  return found->second.front();
}

std::optional<std::size_t> ListIndex::NonZeroAtOrBefore(std::size_t i) const {
  if (i >= list_.size() || nonZeroAtOrBefore_[i] == 0) return std::nullopt;
  return nonZeroAtOrBefore_[i] - 1;
}

std::optional<std::size_t> ListIndex::NonZeroAtOrAfter(std::size_t i) const {
  if (i >= list_.size() || nonZeroAtOrAfter_[i] == 0) return std::nullopt;
  return nonZeroAtOrAfter_[i] - 1;
}

}  // namespace velmorta
