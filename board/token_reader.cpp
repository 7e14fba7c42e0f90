#include "board/token_reader.hpp"

namespace velmorta {
namespace {

constexpr bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

TokenReader::TokenReader(std::FILE* file, std::size_t bufferSize)
    : file_(file), size_(bufferSize > 0 ? bufferSize : 1) {
  buffer_.reset(new char[size_]);
}

bool TokenReader::Refill() {
  pos_ = 0;
  end_ = file_ != nullptr ? std::fread(buffer_.get(), 1, size_, file_) : 0;
  return end_ > 0;
}

bool TokenReader::Next(std::string_view& token) {
  for (;;) {  // skip white space
    while (pos_ < end_ && IsSpace(buffer_[pos_])) ++pos_;
    if (pos_ < end_) break;
    if (!Refill()) return false;
  }
  const std::size_t start = pos_;
  while (pos_ < end_ && !IsSpace(buffer_[pos_])) ++pos_;
  if (pos_ < end_) {
    token = std::string_view(buffer_.get() + start, pos_ - start);
    return true;
  }
  // The token runs to the end of the buffer: gather it across refills.
  spill_.assign(buffer_.get() + start, pos_ - start);
  while (Refill()) {
    while (pos_ < end_ && !IsSpace(buffer_[pos_])) ++pos_;
    spill_.append(buffer_.get(), pos_);
    if (pos_ < end_) break;
  }
  token = spill_;
  return true;
}

}  // namespace velmorta
