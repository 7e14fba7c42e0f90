#pragma once
// Counts of exact board points, for the tests "does some record lie at P". A hash table
// built once per table keeps those tests linear in the number of records.

#include <cstdint>
#include <span>
#include <vector>

namespace velmorta {

// How many records ahead the loops over a table prefetch their look-ups.
inline constexpr std::size_t kPrefetchAhead = 16;

// Visits records in order as visit(index, record); ahead(record) starts the look-ups of
// the record kPrefetchAhead places later.
template <class Record, class Ahead, class Visit>
void VisitWithPrefetch(std::span<const Record> records, Ahead ahead, Visit visit) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (i + kPrefetchAhead < records.size()) ahead(records[i + kPrefetchAhead]);
    visit(i, records[i]);
  }
}

class PointTable {
 public:
  explicit PointTable(std::size_t expectedPoints = 0);

  void Add(std::int32_t x, std::int32_t y);  // counts one more at (x, y)
  std::uint32_t Count(std::int32_t x, std::int32_t y) const;
  bool Contains(std::int32_t x, std::int32_t y) const { return Count(x, y) > 0; }
  // Starts loading the slot of (x, y), for a look-up a few records later: a table far
  // larger than the caches costs a memory round trip per look-up otherwise.
  void Prefetch(std::int32_t x, std::int32_t y) const;

 private:
  struct Slot {  // the key in two halves: 12 bytes a slot, not 16
    std::uint32_t high = 0;
    std::uint32_t low = 0;
    std::uint32_t count = 0;  // 0 marks an empty slot
    std::uint64_t key() const { return std::uint64_t{high} << 32 | low; }
  };
  std::size_t Find(std::uint64_t key) const;  // the key's slot, or the empty slot it would take
  void Grow();

  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

}  // namespace velmorta
