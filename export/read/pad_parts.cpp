#include "export/read/pad_parts.hpp"

#include <algorithm>
#include <string_view>

#include "board/pad_reader.hpp"
#include "board/token_reader.hpp"

namespace velmorta::fab {
namespace {

// The text up to `delimiter` from `at`, and `at` past it; the rest when it is missing,
// as the converter's field scanner reads it.
std::string_view FieldUpTo(std::string_view token, std::size_t& at, char delimiter) {
  const std::size_t start = std::min(at, token.size());
  const std::size_t end = std::min(token.find(delimiter, start), token.size());
  at = end < token.size() ? end + 1 : end;
  return token.substr(start, end - start);
}

PartLand ReadPartLand(std::string_view token) {
  std::size_t at = 0;
  PartLand part;
  FieldUpTo(token, at, '"');
  part.name = FieldUpTo(token, at, '"');
  FieldUpTo(token, at, ',');
  part.other = FieldUpTo(token, at, ',');
  FieldScanner position(token.substr(at));
  part.x = position.Coordinate(',');
  part.y = position.Coordinate(',');
  return part;
}

}  // namespace

bool ReadPartLands(std::FILE* pad, std::vector<PartLand>& parts, int& error) {
  TokenReader tokens(pad);
  bool inParts = false, ended = false;
  for (std::string_view token; tokens.Next(token);) {
    if (token == "***") {
      std::string_view name;
      inParts = tokens.Next(name) && name == "Parts";
    } else if (inParts && !ended) {
      PartLand part = ReadPartLand(token);
      ended = part.x == 0;
      if (!ended) parts.push_back(std::move(part));
    }
  }
  error = tokens.Error();
  return error == 0;
}

}  // namespace velmorta::fab
