#pragma once
// The board model: eight record tables and the board-wide values, filled by the pad
// reader and read by emission. Coordinates are board units (pad units times 254).

#include <cstdint>
#include <span>
#include <vector>

namespace velmorta {

struct Segment {  // AreaTable, BottomFillTable, TopFillTable
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  friend bool operator==(const Segment&, const Segment&) = default;
};
struct Line {  // BottomLineTable, TopLineTable
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0, width = 0;
  friend bool operator==(const Line&, const Line&) = default;
};
struct Land {  // PartsTable, ThruHoleTable
  std::int32_t x = 0, y = 0, land1 = 0, land2 = 0;
  friend bool operator==(const Land&, const Land&) = default;
};
struct Hole {  // HoleTable
  std::int32_t tool = 0, x = 0, y = 0, diameter = 0;
  friend bool operator==(const Hole&, const Hole&) = default;
};

constexpr std::int32_t FirstField(const Segment& r) { return r.x1; }
constexpr std::int32_t FirstField(const Line& r) { return r.x1; }
constexpr std::int32_t FirstField(const Land& r) { return r.x; }
constexpr std::int32_t FirstField(const Hole& r) { return r.tool; }

// Every record read is stored; a table's visible records end at its first record whose
// first field is 0, which hides itself and everything after it.
template <class Record>
class Table {
 public:
  void Append(const Record& record) {
    if (visible_ == records_.size() && FirstField(record) != 0) ++visible_;
    records_.push_back(record);
  }
  std::span<const Record> Visible() const { return {records_.data(), visible_}; }
  std::span<const Record> Stored() const { return records_; }

 private:
  std::vector<Record> records_;
  std::size_t visible_ = 0;
};

// The pad file's "Pitch": 1 or 2 selects the first or second value of each pitch pair
// and of the size classes; without one, no header is written and no size selects.
enum class PitchMode { None = 0, One = 1, Two = 2 };
constexpr int PitchDigit(PitchMode pitch) { return static_cast<int>(pitch); }

// The pad file's "Type".
enum class BoardType { SingleSided = 0, DoubleSided = 1 };

// The section whose record set an extent: the outline (or none lowered it), or another.
enum class ExtentSource { Outline = 0, OtherSection = 1 };

struct Board {
  Table<Segment> AreaTable;
  Table<Land> PartsTable;
  Table<Land> ThruHoleTable;
  Table<Hole> HoleTable;
  Table<Line> BottomLineTable;
  Table<Segment> BottomFillTable;
  Table<Line> TopLineTable;
  Table<Segment> TopFillTable;

  std::int32_t MinX = 300000;
  std::int32_t MaxY = 0;
  // The members are named as the types are: the types are spelled in full here.
  velmorta::ExtentSource MinXSource = velmorta::ExtentSource::Outline;
  velmorta::ExtentSource MaxYSource = velmorta::ExtentSource::Outline;
  velmorta::PitchMode PitchMode = velmorta::PitchMode::None;
  velmorta::BoardType BoardType = velmorta::BoardType::SingleSided;

  bool DoubleSided() const { return BoardType == velmorta::BoardType::DoubleSided; }
};

}  // namespace velmorta
