#pragma once
// The rules, each a pass over the board that adds what it finds to the state. The passes
// and their order are in run_check.cpp.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/large_memory.hpp"
#include "check/board_model.hpp"
#include "check/findings.hpp"
#include "check/grid_index.hpp"
#include "check/limits.hpp"
#include "check/union_find.hpp"

namespace velmorta::check {

// Thrown when the board is larger than the check can number: what() in English, `reason`
// its key in the catalog, with `count` for its placeholder.
struct CheckError : std::runtime_error {
  CheckError(Text key, std::uint64_t n)
      : std::runtime_error(Say(Language::English, key, {{"count", std::to_string(n)}})), reason(key), count(n) {}
  Text reason;
  std::uint64_t count;
};

// Thrown when a board would cost the check more than its budget; what() is the reason
// in English, `reason` its key in the catalog, with `count` for its placeholder.
struct CheckStopped : std::runtime_error {
  explicit CheckStopped(Text key, std::uint64_t n = 0)
      : std::runtime_error(Say(Language::English, key, {{"count", std::to_string(n)}})), reason(key), count(n) {}
  Text reason;
  std::uint64_t count;
};

// What the check may spend, in proportion to the board's items: a board whose features
// crowd together (lines across the whole board, an outline through the copper) would
// otherwise cost time and memory in proportion to the square of its items. Boards as
// they are drawn stay far below it; one beyond it is reported as not checked.
class Budget {
 public:
  static constexpr std::uint64_t kReadsPerItem = 256, kBaseReads = std::uint64_t{1} << 26;
  static constexpr std::uint64_t kMostKept = std::uint64_t{1} << 22;  // findings and pairs

  explicit Budget(std::uint64_t items) : reads_(kBaseReads + kReadsPerItem * items) {}
  void Read(std::uint64_t n) {
    if (n > reads_) throw CheckStopped(Text::CheckCrowded);
    reads_ -= n;
  }
  void Keep(std::size_t kept) {
    if (kept >= kMostKept) throw CheckStopped(Text::CheckTooManyFindings, kMostKept);
  }

 private:
  std::uint64_t reads_;
};

// How candidates are found: the grid, or every item (the plain all-pairs check that the
// tests compare the grid with).
enum class Search : std::uint8_t { Indexed, AllPairs };

// Box of a feature's copper, of a hole, of an edge's centre line.
Box BoxOf(const Feature& f);
Box BoxOf(const Hole& h);
Box BoxOf(const Edge& e);

// The boxes of a list's items by number, as the index asks for them.
template <class Item>
struct Boxes {
  explicit Boxes(const std::vector<Item>& list) : items(&list) {}
  Box operator()(std::uint32_t i) const { return BoxOf((*items)[i]); }
  const std::vector<Item>* items;
};

// Visits the items of a list whose boxes meet a query box, each once.
class Finder {
 public:
  Finder() = default;
  // Puts the items in the grid's spatial order (in either search, so that both number
  // everything alike), so that the items of a query are near in memory, and indexes them.
  template <class Item>
  Finder(std::vector<Item>& items, Search search, Budget& budget);

  template <class BoxOf, class Visit>
  void Query(const Box& q, BoxOf boxOf, Visit&& visit) const {
    if (allPairs_) {
      budget_->Read(count_);
      for (std::uint32_t i = 0; i < count_; ++i) {
        if (Overlap(boxOf(i), q)) visit(i);
      }
    } else {
      budget_->Read(grid_.Query(q, boxOf, visit));
    }
  }
  std::size_t Bytes() const { return grid_.Bytes(); }

 private:
  std::uint32_t count_ = 0;
  bool allPairs_ = false;
  GridIndex grid_;
  Budget* budget_ = nullptr;
};

template <class Item>
Finder::Finder(std::vector<Item>& items, Search search, Budget& budget)
    : count_(static_cast<std::uint32_t>(items.size())), allPairs_(search == Search::AllPairs), budget_(&budget) {
  const GridShape shape = GridShape::For(count_, Boxes(items));
  {
    // Gathered into a new list: reading in the new order follows a few runs of the old
    // one (the kinds of items the filler wrote one after another), which the memory
    // system reads ahead, where moving them in place would jump at random.
    const std::vector<std::uint32_t> order = SpatialOrder(shape, count_, Boxes(items));
    std::vector<Item> sorted;
    ReserveLarge(sorted, count_);
    for (const std::uint32_t i : order) sorted.push_back(items[i]);
    items.swap(sorted);
  }
  if (!allPairs_) grid_ = GridIndex(shape, count_, Boxes(items));
}

// One copper side: its features, their first number in the connected groups, the index.
struct CopperSide {
  Side side = Side::Bottom;
  const std::vector<Feature>* features = nullptr;
  std::uint32_t offset = 0;
  Finder index;
};

// Two features of one side closer than the spacing limit but not touching, found while
// the groups grow: a fault unless they end up in one group.
struct NearPair {
  std::uint8_t side;  // in CheckState::sides
  std::uint32_t a, b;
};

struct CheckState {
  // Takes the board: its lists are reordered in place.
  CheckState(CheckBoard board, const Limits& limits, Search search);

  CheckBoard board;
  const Limits& limits;
  Budget budget;
  std::vector<CopperSide> sides;  // the bottom, and the top of a double-sided board
  Finder holes, outline;
  std::uint32_t features;          // of every copper side
  UnionFind groups;                // every feature, side after side, then the wire links
  std::vector<std::uint8_t> drilled;  // per feature: a hole's centre lies in it
  std::vector<NearPair> nearPairs;
  std::vector<NearPair> touchingLands;  // lands of different centres whose copper meets
  std::vector<Finding> findings;
};

void CheckSizes(CheckState& s);              // track widths, land sizes, drill sizes
void ConnectTouching(CheckState& s);         // features that touch or overlap on a side; near pairs
void ConnectLinks(CheckState& s);            // wire links join the copper at their ends, and chains of them
void CheckHolesInLands(CheckState& s);       // plated holes join sides; rings; lands without a hole's copper
void CheckUndrilledLands(CheckState& s);     // needs the drilled marks of CheckHolesInLands
void CheckTouchingLands(CheckState& s);      // the touching lands, once the groups are final
void CheckSpacing(CheckState& s);            // the near pairs, once the groups are complete and flattened
void CheckCopperToEdge(CheckState& s);
void CheckHoleSpacing(CheckState& s);
void CheckHoleToEdge(CheckState& s);

}  // namespace velmorta::check
