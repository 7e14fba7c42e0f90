#include "base/out_file.hpp"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <utility>

namespace velmorta {
namespace {

// Copies text, every "\n" as CR LF. The texts are a few bytes long: a plain loop beats
// a library call.
char* Copy(char* at, std::string_view text) {
  for (const char c : text) {
    if (c == '\n') *at++ = '\r';
    *at++ = c;
  }
  return at;
}

constexpr std::size_t kDigits = 11;  // "-2147483648"

char* Digits(char* at, std::int32_t value) { return std::to_chars(at, at + kDigits, value).ptr; }

}  // namespace

OutFile::OutFile(OutFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)),
      path_(std::move(other.path_)),
      error_(std::exchange(other.error_, 0)),
      failedStep_(std::exchange(other.failedStep_, {})),
      inMemory_(std::exchange(other.inMemory_, false)),
      sink_(std::exchange(other.sink_, nullptr)),
      buffer_(std::move(other.buffer_)),
      used_(std::exchange(other.used_, 0)),
      text_(std::move(other.text_)) {}

OutFile& OutFile::operator=(OutFile&& other) noexcept {
  if (this != &other) {
    Close();
    file_ = std::exchange(other.file_, nullptr);
    path_ = std::move(other.path_);
    error_ = std::exchange(other.error_, 0);
    failedStep_ = std::exchange(other.failedStep_, {});
    inMemory_ = std::exchange(other.inMemory_, false);
    sink_ = std::exchange(other.sink_, nullptr);
    buffer_ = std::move(other.buffer_);
    used_ = std::exchange(other.used_, 0);
    text_ = std::move(other.text_);
  }
  return *this;
}

bool OutFile::Open(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  Adopt(FileHandle(file), path);
  return true;
}

void OutFile::Adopt(FileHandle file, std::string path) {
  Close();
  file_ = file.release();
  path_ = std::move(path);
  error_ = 0;
  failedStep_ = {};
  // The buffer here is the only one a byte passes through.
  std::setvbuf(file_, nullptr, _IONBF, 0);
}

void OutFile::Fail(std::string_view step) const {
  if (error_ != 0) return;
  error_ = errno != 0 ? errno : EIO;
  failedStep_ = step;
}

OutFile OutFile::InMemory() {
  OutFile file;
  file.inMemory_ = true;
  return file;
}

OutFile OutFile::InMemory(ByteSink& sink) {
  OutFile file = InMemory();
  file.sink_ = &sink;
  return file;
}

char* OutFile::Room(std::size_t n) {
  if (!buffer_) buffer_.reset(new char[kBufferSize]);
  if (kBufferSize - used_ < n) Drain();
  return buffer_.get() + used_;
}

void OutFile::Drain() const {
  if (used_ == 0) return;
  if (inMemory_ && sink_ == nullptr) {
    text_.append(buffer_.get(), used_);
  } else if (file_ != nullptr && error_ == 0) {
    errno = 0;
    if (std::fwrite(buffer_.get(), 1, used_, file_) != used_) Fail("write");
  }
  if (sink_ != nullptr) sink_->Write(std::string_view(buffer_.get(), used_));
  used_ = 0;
}

void OutFile::Put(std::string_view text) {
  while (!text.empty()) {
    const std::string_view piece = text.substr(0, kBufferSize / 2);  // CR LF doubles at most
    Commit(Copy(Room(2 * piece.size()), piece));
    text.remove_prefix(piece.size());
  }
}

void OutFile::Put(std::string_view head, std::int32_t value, std::string_view tail) {
  if (head.size() + tail.size() > kShortLiterals) {
    Put(head);
    char digits[kDigits];
    Put(std::string_view(digits, static_cast<std::size_t>(Digits(digits, value) - digits)));
    Put(tail);
    return;
  }
  char* at = Room(2 * (head.size() + tail.size()) + kDigits);
  at = Copy(at, head);
  at = Digits(at, value);
  Commit(Copy(at, tail));
}

void OutFile::Put(std::string_view head, std::int32_t a, std::string_view middle, std::int32_t b,
                  std::string_view tail) {
  if (head.size() + middle.size() + tail.size() > kShortLiterals) {
    Put(head, a, "");
    Put(middle, b, tail);
    return;
  }
  char* at = Room(2 * (head.size() + middle.size() + tail.size()) + 2 * kDigits);
  at = Copy(at, head);
  at = Digits(at, a);
  at = Copy(at, middle);
  at = Digits(at, b);
  Commit(Copy(at, tail));
}

void OutFile::PutWritten(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::string_view piece = bytes.substr(0, kBufferSize);
    Commit(std::copy(piece.begin(), piece.end(), Room(piece.size())));
    bytes.remove_prefix(piece.size());
  }
}

const std::string& OutFile::Text() const {
  Drain();
  return text_;
}

void OutFile::Flush() {
  Drain();
  errno = 0;
  if (file_ != nullptr && std::fflush(file_) != 0) Fail("flush");
}

void OutFile::Close() {
  if (sink_ != nullptr) Drain();
  if (file_ == nullptr) return;
  Flush();
  errno = 0;
  if (std::fclose(file_) != 0) Fail("close");
  file_ = nullptr;
}

}  // namespace velmorta
