#include "export/read/text_scan.hpp"

#include <cerrno>
#include <cstring>

#include "base/files.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {

TextScan::TextScan(std::string_view text, std::string_view fileName) : window_(text), fileName_(fileName) {}

TextScan::TextScan(std::FILE* file, std::string_view fileName, std::size_t window)
    : fileName_(fileName),
      file_(file),
      endOfFile_(false),
      windowSize_(window > 2 * kLookahead ? window : 2 * kLookahead),
      buffer_(new char[windowSize_]) {
  window_ = std::string_view(buffer_.get(), 0);
  Refill();
}

std::unique_ptr<TextScan> TextScan::Open(const std::string& path, int outputNumber) {
  int error = 0;
  FileHandle file = OpenForReading(path, error);
  if (!file) {
    throw ExportError(Text::CannotReadOutput,
                      {{"number", std::to_string(outputNumber)}, {"file", path}, {"reason", ReasonText(error)}});
  }
  auto scan = std::make_unique<TextScan>(file.get(), path);
  scan->owned_ = std::move(file);
  return scan;
}

void TextScan::Prepare() {
  if (!endOfFile_ && window_.size() - pos_ < kLookahead) Refill();
}

bool TextScan::AtEnd() {
  Prepare();
  return pos_ >= window_.size();
}

void TextScan::Refill() {
  // What is left moves to the front; the rest of the window is read.
  const std::size_t kept = window_.size() - pos_;
  std::memmove(buffer_.get(), window_.data() + pos_, kept);
  base_ += pos_;
  pos_ = 0;
  std::size_t filled = kept;
  while (filled < windowSize_ && !endOfFile_) {
    errno = 0;
    const std::size_t n = std::fread(buffer_.get() + filled, 1, windowSize_ - filled, file_);
    filled += n;
    if (n == 0) {
      if (std::ferror(file_) != 0) {
        // A read error is not the end of the file: the rest would be silently lost.
        throw ExportError(Text::CannotRead, {{"file", fileName_}, {"reason", ReasonText(errno != 0 ? errno : EIO)}});
      }
      endOfFile_ = true;
    }
  }
  window_ = std::string_view(buffer_.get(), filled);
}

bool TextScan::Take(std::string_view literal) {
  if (!At(literal)) return false;
  pos_ += literal.size();
  return true;
}

std::optional<std::int32_t> TextScan::TakeNumber() {
  const std::string_view text = Ahead();
  std::size_t end = 0;
  const bool negative = end < text.size() && text[end] == '-';
  if (negative) ++end;
  const std::size_t first = end;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9' && end - first <= 10) ++end;
  const std::size_t count = end - first;
  if (count == 0 || count > 10) return std::nullopt;
  if (text[first] == '0' && (count > 1 || negative)) return std::nullopt;  // never printed so
  std::int64_t value = 0;
  for (std::size_t i = first; i < end; ++i) value = value * 10 + (text[i] - '0');
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  pos_ += end;
  return static_cast<std::int32_t>(value);
}

void TextScan::Fail(std::size_t offset, Text what, std::initializer_list<Part> parts) const {
  const Part::Told told = Telling(what, parts);
  if (offset < base_ || offset >= base_ + window_.size()) FailAt(fileName_, offset, told);
  // Errors are found at a command's start, after Prepare(): the window holds the excerpt.
  FailAt(fileName_, offset, Telling(Text::WithExcerpt, {{"what", told}, {"excerpt", Excerpt(window_, offset - base_)}}));
}

void FailAt(std::string_view fileName, std::size_t offset, const Part::Told& what) {
  // The converter writes nothing a reader refuses: the file was changed since.
  throw ExportError(Text::ChangedAtOffset,
                    {{"file", std::string(fileName)}, {"offset", std::to_string(offset)}, {"what", what}});
}

std::string Excerpt(std::string_view text, std::size_t offset, std::size_t limit) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (std::size_t i = offset; i < text.size() && i < offset + limit; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\r') {
      out += "\\r";
    } else if (byte == '\n') {
      out += "\\n";
    } else if (byte < 0x20 || byte >= 0x7F || byte == '"' || byte == '\\') {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += static_cast<char>(byte);
    }
  }
  if (offset + limit < text.size()) out += "...";
  return out;
}

}  // namespace velmorta::fab
