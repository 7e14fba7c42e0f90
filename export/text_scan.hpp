#pragma once
// A cursor over the bytes of one converter output file, shared by the two tokenizers.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmorta::fab {

class TextScan {
 public:
  TextScan(std::string_view text, std::string_view fileName) : text_(text), fileName_(fileName) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  std::size_t Offset() const { return pos_; }

  // Whether the text continues with `literal`; Take also consumes it.
  bool At(std::string_view literal) const { return text_.substr(pos_).substr(0, literal.size()) == literal; }
  bool Take(std::string_view literal);
  // Consumes a number as the converter prints it ("%ld" of a 32-bit value: an optional
  // "-", no leading zeros, "0" alone for zero); nothing when the text has none there.
  std::optional<std::int32_t> TakeNumber();

  // An error naming the file, the offset and the text found there.
  [[noreturn]] void Fail(std::size_t offset, std::string_view what) const;

 private:
  std::string_view text_;
  std::string_view fileName_;
  std::size_t pos_ = 0;
};

// An error naming the file and the offset.
[[noreturn]] void FailAt(std::string_view fileName, std::size_t offset, std::string_view what);

// Up to `limit` bytes from `offset`, control and non-ASCII bytes escaped.
std::string Excerpt(std::string_view text, std::size_t offset, std::size_t limit = 24);

}  // namespace velmorta::fab
