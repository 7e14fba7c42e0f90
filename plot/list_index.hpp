#pragma once
// A configuration list (apertures or tools) indexed for constant-time look-ups, so that
// selections stay cheap however long the list and however many objects use it.

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "config/settings.hpp"

namespace velmorta {

class ListIndex {
 public:
  explicit ListIndex(const CodeList& list);
  // The index refers to its list: a temporary would leave it dangling.
  explicit ListIndex(CodeList&&) = delete;

  std::size_t size() const { return list_.size(); }
  std::int32_t code(std::size_t i) const { return list_[i].code; }

  std::optional<std::size_t> LastWithKey(std::int32_t key) const;
  // The last entry with the key strictly before position `end`.
  std::optional<std::size_t> LastWithKeyBefore(std::int32_t key, std::size_t end) const;
  std::optional<std::size_t> FirstWithKey(std::int32_t key) const;
  // An entry whose code is 0 defers to the nearest earlier entry with a code.
  std::optional<std::size_t> NonZeroAtOrBefore(std::size_t i) const;
  std::optional<std::size_t> NonZeroAtOrAfter(std::size_t i) const;

 private:
  const CodeList& list_;
  std::unordered_map<std::int32_t, std::vector<std::size_t>> positions_;  // ascending
  std::vector<std::size_t> nonZeroAtOrBefore_;  // position + 1, 0 for none
  std::vector<std::size_t> nonZeroAtOrAfter_;   // position + 1, 0 for none
  // The last position + 1 (0 for none) of the small keys every board selects, without
  // a hash look-up per selection.
  static constexpr std::int32_t kSmallKeys = 1024;
  std::vector<std::size_t> lastOfSmallKey_;
};

}  // namespace velmorta
