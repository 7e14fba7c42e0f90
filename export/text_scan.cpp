#include "export/text_scan.hpp"

#include "export/export_error.hpp"

namespace velmorta::fab {

bool TextScan::Take(std::string_view literal) {
  if (!At(literal)) return false;
  pos_ += literal.size();
  return true;
}

std::optional<std::int32_t> TextScan::TakeNumber() {
  std::size_t end = pos_;
  const bool negative = end < text_.size() && text_[end] == '-';
  if (negative) ++end;
  const std::size_t first = end;
  while (end < text_.size() && text_[end] >= '0' && text_[end] <= '9' && end - first <= 10) ++end;
  const std::size_t count = end - first;
  if (count == 0 || count > 10) return std::nullopt;
  if (text_[first] == '0' && (count > 1 || negative)) return std::nullopt;  // never printed so
  std::int64_t value = 0;
  for (std::size_t i = first; i < end; ++i) value = value * 10 + (text_[i] - '0');
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  pos_ = end;
  return static_cast<std::int32_t>(value);
}

void TextScan::Fail(std::size_t offset, std::string_view what) const {
  if (offset >= text_.size()) FailAt(fileName_, offset, what);
  FailAt(fileName_, offset, std::string(what) + ": \"" + Excerpt(text_, offset) + "\"");
}

void FailAt(std::string_view fileName, std::size_t offset, std::string_view what) {
  throw ExportError(std::string(fileName) + ": offset " + std::to_string(offset) + ": " + std::string(what));
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
