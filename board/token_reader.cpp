#include "board/token_reader.hpp"

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace velmorta {
namespace {

constexpr bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The first white-space byte in [from, end), or end. Eight bytes at a time: a word with
// no byte below 0x21 holds no white space (a 50 MB token is read at memory speed).
std::size_t TokenEnd(const char* data, std::size_t from, std::size_t end) {
  std::size_t i = from;
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    while (end - i >= 8) {
      std::uint64_t word;
      std::memcpy(&word, data + i, 8);
      // High bit set in every byte below 0x21 and, at worst, in bytes after such a byte:
      // the lowest one marks the first such byte.
      const std::uint64_t below = (word - kOnes * 0x21) & ~word & (kOnes * 0x80);
      if (below == 0) {
        i += 8;
        continue;
      }
      i += static_cast<std::size_t>(std::countr_zero(below)) / 8;
      if (IsSpace(data[i])) return i;
      ++i;  // a control byte that is no white space
    }
  }
  while (i < end && !IsSpace(data[i])) ++i;
  return i;
}

}  // namespace

TokenReader::TokenReader(std::FILE* file, std::size_t bufferSize)
    : file_(file), size_(bufferSize > 0 ? bufferSize : 1) {
  buffer_.reset(new char[size_]);
}

bool TokenReader::Refill() {
  pos_ = 0;
  end_ = 0;
  if (file_ == nullptr || error_ != 0) return false;
  errno = 0;
  end_ = std::fread(buffer_.get(), 1, size_, file_);
  // A short read is the end of the file or a failure; a failure must not pass for the
  // end, or a board cut short would be converted as a whole one.
  if (end_ < size_ && std::ferror(file_)) error_ = errno != 0 ? errno : EIO;
  return end_ > 0;
}

bool TokenReader::Next(std::string_view& token) {
  if (!started_) {
    started_ = true;
    // Only a token at the very start can begin with the byte order mark.
    const bool atStart = Refill() && !IsSpace(buffer_[0]);
    if (!Next(token)) return false;
    if (!atStart || !token.starts_with("\xEF\xBB\xBF")) return true;
    token.remove_prefix(3);
    return !token.empty() || Next(token);
  }
  for (;;) {  // skip white space
    while (pos_ < end_ && IsSpace(buffer_[pos_])) ++pos_;
    if (pos_ < end_) break;
    if (!Refill()) return false;
  }
  const std::size_t start = pos_;
  pos_ = TokenEnd(buffer_.get(), pos_, end_);
  if (pos_ < end_) {
    token = std::string_view(buffer_.get() + start, pos_ - start);
    return true;
  }
  // The token runs to the end of the buffer: gather it across refills.
  spill_.assign(buffer_.get() + start, pos_ - start);
  while (Refill()) {
    pos_ = TokenEnd(buffer_.get(), pos_, end_);
    spill_.append(buffer_.get(), pos_);
    if (pos_ < end_) break;
  }
  token = spill_;
  return true;
}

}  // namespace velmorta
