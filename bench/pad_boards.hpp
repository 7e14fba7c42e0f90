#pragma once
// Generated pad files, shared by the conversion benchmark and the board generator of
// the Linux and Windows comparison.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velmorta::bench {

namespace fs = std::filesystem;

// Buffered writer of pad text.
class PadWriter {
 public:
  explicit PadWriter(const fs::path& path) : file_(std::fopen(path.c_str(), "wb")) {
    if (file_ == nullptr) throw std::runtime_error("cannot create " + path.string());
  }
  ~PadWriter() {
    Flush();
    std::fclose(file_);
  }
  PadWriter& operator<<(std::string_view text) {
    buffer_.append(text);
    if (buffer_.size() > (1 << 20)) Flush();
    return *this;
  }
  PadWriter& operator<<(long value);
  std::uint64_t bytes() const { return written_ + buffer_.size(); }

 private:
  void Flush() {
    std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
    written_ += buffer_.size();
    buffer_.clear();
  }
  std::FILE* file_;
  std::string buffer_;
  std::uint64_t written_ = 0;
};

// What a generator wrote.
struct Board {
  std::uint64_t records = 0;
  std::uint64_t binaryBytes = 0;  // the records as the converter stores them
  std::uint64_t padBytes = 0;
};

// n records of every kind: outline, parts, through-holes, holes (a quarter of them on
// part positions), lines and fills on both sides; codes change every few records so
// that the sized selections and the tool scans run.
Board EveryKind(const fs::path& pad, std::uint64_t n, bool doubleSided);

// n records of every kind laid out as a board is: a lattice of 2n lands 0.1 inch apart
// (n parts, n through-holes), n bottom lines along its rows and n top lines along its
// columns between neighbouring lands, n fills per side and n holes between them (a
// quarter of the holes on parts), and an outline of n segments: the edge and small
// square cut-outs between the lands. Every feature is small, so the copper near any
// feature stays the same whatever n: what the board check meets on a real board. One
// unplated hole in a thousand is large enough to meet a plated one, so that the check
// has something to report.
Board LaidOut(const fs::path& pad, std::uint64_t n, bool doubleSided);

// n top and n bottom lines walking a lattice small enough that every point is the end
// of about four lines, with repeated records, zero-length records and parts on a tenth
// of the points: the line-end generators' worst case.
Board SharedEnds(const fs::path& pad, std::uint64_t n, bool doubleSided);

}  // namespace velmorta::bench
