#include "export/model/decimal.hpp"

namespace velmorta::fab {

std::string FormatDecimal(std::int64_t value, int decimals) {
  if (decimals < 1) decimals = 1;
  // The magnitude as unsigned, so the most negative value has one too.
  std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::string digits;
  while (magnitude != 0 || digits.size() <= static_cast<std::size_t>(decimals)) {
    digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
    magnitude /= 10;
  }
  digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
  return value < 0 ? "-" + digits : digits;
}

}  // namespace velmorta::fab
