// The board check on boards made of any bytes, at any 32-bit coordinates and sizes: it
// must finish without undefined behaviour, find with the grid exactly what comparing all
// pairs finds, and report it.
#include <cstring>

#include "check/report.hpp"
#include "check/run_check.hpp"
#include "fuzz/fuzz_support.hpp"

namespace velmorta::fuzz {
namespace {

class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return pos_ >= size_; }
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::int32_t Int() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    std::int32_t s;
    std::memcpy(&s, &v, sizeof s);
    return s;
  }
  check::Point Point() { return {Int(), Int()}; }

 private:
  const std::uint8_t* data_;
  std::size_t size_, pos_ = 0;
};

}  // namespace
}  // namespace velmorta::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmorta;
  using namespace velmorta::check;
  using namespace velmorta::fuzz;
  Bytes in(data, size);
  CheckBoard board;
  const std::uint8_t flags = in.Byte();
  board.doubleSided = (flags & 1) != 0;
  if ((flags & 2) != 0) board.frame = PadFrame{in.Int(), in.Int(), in.Int()};
  Limits limits;
  for (const LimitName& n : LimitNames()) {
    const std::uint8_t small = in.Byte();
    // Mostly small limits so that features meet them; now and then the largest.
    limits.*(n.member) = small == 255 ? kLargestLimit : small * 10;
  }
  // A few dozen items: the plain all-pairs check must stay quick.
  for (int count = 0; count < 120 && !in.Empty(); ++count) {
    const std::uint8_t kind = in.Byte();
    const auto index = static_cast<std::uint32_t>(count);
    switch (kind % 5) {
      case 0:
      case 1: {
        Feature f{in.Point(), in.Point(), in.Int(), (kind & 8) != 0, (kind & 16) != 0 ? Role::Land : Role::Conductor,
                  {static_cast<std::uint8_t>(kind % 5 + 1), index}};
        if ((kind & 32) != 0) f.b = {static_cast<std::int32_t>(f.a.x ^ (in.Byte() & 15)), f.a.y};
        board[kind % 5 == 0 ? Side::Bottom : Side::Top].push_back(f);
        break;
      }
      case 2: {
        Hole h{in.Point(), in.Int(), (kind & 8) != 0, {5, index}};
        // On a feature's centre now and then, so that rings and plated joins happen.
        if ((kind & 16) != 0 && !board[Side::Bottom].empty()) h.at = board[Side::Bottom].back().a;
        board.holes.push_back(h);
        break;
      }
      case 3: board.outline.push_back({{in.Point(), in.Point()}, in.Int(), {7, index}}); break;
      default: board.links.push_back({{in.Point(), in.Point()}, {2, index}}); break;
    }
  }
  const CheckResult indexed = RunCheck(board, limits, Search::Indexed);
  const CheckResult plain = RunCheck(board, limits, Search::AllPairs);
  Check(indexed.findings.size() == plain.findings.size(), "the grid and all pairs find different numbers");
  for (std::size_t i = 0; i < plain.findings.size(); ++i) {
    Check(indexed.findings[i] == plain.findings[i], "the grid and all pairs differ", TraitsOf(plain.findings[i].kind).name);
  }
  Check(indexed.errors + indexed.warnings == indexed.findings.size(), "severities do not add up");
  const std::string text = ReportText(indexed, limits), csv = ReportCsv(indexed), summary = Summary(indexed);
  Check(!text.empty() && !csv.empty() && !summary.empty(), "an empty report");
  return 0;
}
