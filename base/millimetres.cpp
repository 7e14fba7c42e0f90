#include "base/millimetres.hpp"

namespace velmorta {
namespace {

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

ParsedMillimetres ParseMillimetres(std::string_view text, std::int64_t largest) {
  std::string_view v = Trim(text);
  if (v.ends_with("mm")) v = Trim(v.substr(0, v.size() - 2));
  std::int64_t whole = 0;
  std::size_t i = 0;
  bool digits = false;
  for (; i < v.size() && IsDigit(v[i]); ++i) {
    digits = true;
    whole = whole * 10 + (v[i] - '0');
    // Stopped at once: the whole part stays far from overflow however many digits follow.
    if (whole > largest / 1000) return {0, MillimetresFault::TooLarge};
  }
  std::int64_t fraction = 0;
  if (i < v.size() && v[i] == '.') {
    int place = 0;
    for (++i; i < v.size() && IsDigit(v[i]); ++i, ++place) {
      digits = true;
      if (place < 3) {
        fraction = fraction * 10 + (v[i] - '0');
      } else if (v[i] != '0') {
        return {0, MillimetresFault::TooFine};
      }
    }
    for (; place < 3; ++place) fraction *= 10;
  }
  if (!digits || i != v.size()) return {0, MillimetresFault::NotASize};
  const std::int64_t micrometres = whole * 1000 + fraction;
  if (micrometres > largest) return {0, MillimetresFault::TooLarge};
  return {micrometres, MillimetresFault::None};
}

}  // namespace velmorta
