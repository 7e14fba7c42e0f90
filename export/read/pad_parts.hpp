#pragma once
// The pad file's "Parts" records with the names the converter skips: each land's part
// name and second field, as typed, and its position in board units.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace velmorta::fab {

struct PartLand {
  std::string name;   // between the quotes, commas kept; the system's bytes
  std::string other;  // the second field ("DIP8")
  std::int32_t x = 0, y = 0;
};

// The records the converter reads as its parts table, in order: they end, as its table
// does, at the first record whose x is 0. False when the file cannot be read (`error`).
bool ReadPartLands(std::FILE* pad, std::vector<PartLand>& parts, int& error);

}  // namespace velmorta::fab
