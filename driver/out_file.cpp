#include "driver/out_file.hpp"

#include <charconv>
#include <utility>

namespace velmorta {
namespace {
constexpr std::size_t kFlushSize = 1 << 16;
}

OutFile::OutFile(OutFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)),
      inMemory_(std::exchange(other.inMemory_, false)),
      pending_(std::move(other.pending_)) {}

OutFile& OutFile::operator=(OutFile&& other) noexcept {
  if (this != &other) {
    Close();
    file_ = std::exchange(other.file_, nullptr);
    inMemory_ = std::exchange(other.inMemory_, false);
    pending_ = std::move(other.pending_);
  }
  return *this;
}

bool OutFile::Open(const std::string& path) {
  Close();
  file_ = std::fopen(path.c_str(), "wb");
  return file_ != nullptr;
}

OutFile OutFile::InMemory() {
  OutFile file;
  file.inMemory_ = true;
  return file;
}

void OutFile::Put(std::string_view text) {
  for (std::size_t nl; (nl = text.find('\n')) != std::string_view::npos;) {
    pending_.append(text.substr(0, nl));
    pending_.append("\r\n");
    text.remove_prefix(nl + 1);
  }
  pending_.append(text);
  MaybeFlush();
}

void OutFile::Put(std::string_view head, std::int32_t value, std::string_view tail) {
  char digits[12];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  Put(head);  // the drill header carries line breaks in its head
  pending_.append(digits, result.ptr);
  Put(tail);
}

void OutFile::MaybeFlush() {
  if (file_ != nullptr && pending_.size() >= kFlushSize) Flush();
}

void OutFile::Flush() {
  if (file_ == nullptr) return;
  // Write errors go unnoticed, as for every output of the converter.
  if (!pending_.empty()) (void)std::fwrite(pending_.data(), 1, pending_.size(), file_);
  pending_.clear();
  (void)std::fflush(file_);
}

void OutFile::Close() {
  if (file_ == nullptr) return;
  Flush();
  std::fclose(file_);
  file_ = nullptr;
}

}  // namespace velmorta
