#pragma once

#include <cstdio>
#include <optional>
#include <string_view>

#include "base/diagnostics.hpp"
#include "base/output_set.hpp"
#include "board/board.hpp"
#include "config/settings.hpp"

namespace velmorta {

// Reads a whole pad file into a board and writes each output file's header as the
// section that governs it is met. Unexpected tokens are skipped, with a warning where
// the board likely loses what was meant; a read error ends the run like a pad file
// that cannot be opened.
Board ReadPadFile(std::FILE* pad, const Settings& settings, OutputSet& out, Diagnostics& diagnostics);

// The board-wide values alone (MinX, MaxY and their sources, PitchMode, BoardType), by
// the same reading as ReadPadFile, for a program that needs the frame of the plot: no
// record is stored and no header written, so a large board costs no memory.
Board ReadPadExtents(std::FILE* pad, const Settings& settings, Diagnostics& diagnostics);

// Splits one record token into fields. Each read starts where the last one ended and
// stops before its delimiter; a missing delimiter ends the field at the end of the
// token, and every field after it is empty.
class FieldScanner {
 public:
  static constexpr char kEndOfToken = '\0';

  explicit FieldScanner(std::string_view token) : token_(token) {}

  void Skip(char delimiter) { (void)Field(delimiter); }
  std::int32_t Coordinate(char delimiter);  // the integer times 254
  std::int32_t Code(char delimiter);        // the integer, unscaled
  std::int32_t HoleSize(char delimiter);    // the integer times 10

  // The position (from 0, among the numeric fields read) of the first one that holds no
  // digits and so reads as 0.
  std::optional<std::size_t> FirstNonNumber() const { return firstNonNumber_; }

 private:
  std::string_view Field(char delimiter);
  std::int32_t Number(std::string_view field);

  std::string_view token_;
  std::size_t pos_ = 0;
  std::size_t numbers_ = 0;
  std::optional<std::size_t> firstNonNumber_;
};

}  // namespace velmorta
