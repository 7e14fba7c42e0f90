#include "export/write/kicad_text.hpp"

namespace velmorta::fab {

std::string KicadMillimetres(std::int64_t micrometres) {
  // The magnitude as unsigned: the most negative value has no positive twin.
  const bool negative = micrometres < 0;
  const std::uint64_t size = negative ? 0 - static_cast<std::uint64_t>(micrometres) : static_cast<std::uint64_t>(micrometres);
  std::string text = negative ? "-" : "";
  text += std::to_string(size / 1000);
  std::string decimals = std::to_string(1000 + size % 1000).substr(1);
  while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
  if (!decimals.empty()) text += "." + decimals;
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
