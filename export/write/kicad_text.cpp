#include "export/write/kicad_text.hpp"

#include <charconv>

namespace velmorta::fab {

void AppendKicadMillimetres(std::string& text, std::int64_t micrometres) {
  // The magnitude as unsigned: the most negative value has no positive twin.
  const bool negative = micrometres < 0;
  const std::uint64_t size = negative ? 0 - static_cast<std::uint64_t>(micrometres) : static_cast<std::uint64_t>(micrometres);
  char digits[32];  // "-9223372036854775.808"
  char* end = digits;
  if (negative) *end++ = '-';
  end = std::to_chars(end, digits + sizeof digits, size / 1000).ptr;
  if (std::uint64_t rest = size % 1000; rest != 0) {
    *end++ = '.';
    for (std::uint64_t unit = 100; rest != 0; unit /= 10) {  // without the trailing zeros
      *end++ = static_cast<char>('0' + rest / unit);
      rest %= unit;
    }
  }
  text.append(digits, end);
}

std::string KicadMillimetres(std::int64_t micrometres) {
  std::string text;
  AppendKicadMillimetres(text, micrometres);
  return text;
}

std::string KicadQuoted(std::string_view utf8) {
  std::string quoted = "\"";
  for (const char c : utf8) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + '"';
}

}  // namespace velmorta::fab
