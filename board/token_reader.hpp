#pragma once
// Splits a byte stream into white-space separated tokens in one buffered pass.
// Tokens of any length are returned whole. A UTF-8 byte order mark at the start of the
// stream is no part of it: editors write one in front of the first section.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace velmorta {

class TokenReader {
 public:
  explicit TokenReader(std::FILE* file, std::size_t bufferSize = 1 << 20);

  // The next token, valid until the next call; false at end of input or when the
  // stream cannot be read.
  bool Next(std::string_view& token);
  // The errno of a failed read, 0 when the input ended normally.
  int Error() const { return error_; }

 private:
  bool Refill();

  std::FILE* file_;
  // Left uninitialised: only what fread fills is read, and a small file touches little.
  std::unique_ptr<char[]> buffer_;
  std::size_t size_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool started_ = false;
  int error_ = 0;
  std::string spill_;  // a token that crosses a buffer boundary
};

}  // namespace velmorta
