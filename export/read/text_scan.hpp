#pragma once
// A cursor over the bytes of one converter output file, shared by the two tokenizers.
// A file is read a window at a time, so memory stays bounded whatever its size; the
// tokenizers call Prepare() before each command, which makes the next kLookahead bytes
// (more than any command takes) readable.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/files.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {

class TextScan {
 public:
  static constexpr std::size_t kLookahead = 256;

  // All of `text`, which must outlive the scan.
  TextScan(std::string_view text, std::string_view fileName);
  // The file from its current position to its end; the caller keeps it open. The window
  // is at least twice the lookahead; tests make it small, to cross it often.
  TextScan(std::FILE* file, std::string_view fileName, std::size_t window = 1 << 16);
  // The file at `path`, opened here; an error names it as `what` ("output file 3").
  static std::unique_ptr<TextScan> Open(const std::string& path, int outputNumber);

  void Prepare();
  bool AtEnd();
  std::size_t Offset() const { return base_ + pos_; }
  std::string_view FileName() const { return fileName_; }

  // Whether the text continues with `literal`; Take also consumes it.
  bool At(std::string_view literal) const {
    const std::string_view ahead = Ahead();
    if (literal.empty()) return true;
    if (ahead.size() < literal.size() || ahead[0] != literal[0]) return false;
    return ahead.substr(0, literal.size()) == literal;
  }
  bool Take(std::string_view literal);
  // Consumes a number as the converter prints it ("%ld" of a 32-bit value: an optional
  // "-", no leading zeros, "0" alone for zero); nothing when the text has none there.
  std::optional<std::int32_t> TakeNumber();

  // An error naming the file, the offset and the text found there.
  [[noreturn]] void Fail(std::size_t offset, Text what, std::initializer_list<Part> parts = {}) const;

 private:
  std::string_view Ahead() const { return window_.substr(pos_); }
  void Refill();

  std::string_view window_;  // bytes from file offset base_
  std::size_t base_ = 0;
  std::size_t pos_ = 0;      // the cursor, in the window
  std::string fileName_;
  std::FILE* file_ = nullptr;
  FileHandle owned_;
  bool endOfFile_ = true;
  std::size_t windowSize_ = 0;
  std::unique_ptr<char[]> buffer_;
};

// An error naming the file and the offset, and what to do.
[[noreturn]] void FailAt(std::string_view fileName, std::size_t offset, const Part::Told& what);

// Up to `limit` bytes from `offset`, control and non-ASCII bytes escaped.
std::string Excerpt(std::string_view text, std::size_t offset, std::size_t limit = 24);

}  // namespace velmorta::fab
