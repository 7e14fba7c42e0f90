#include "base/diagnostics.hpp"

#include <algorithm>

#include "base/text_encoding.hpp"

namespace velmorta {
namespace {

// How the warnings not shown are counted, by kind.
constexpr std::array<Text, 8> kMore = {
    Text::MoreUnknownSections, Text::MoreWithoutPitch,     Text::MoreEndedTables, Text::MoreNotANumber,
    Text::MoreNoSizeClass,     Text::MoreUnknownHoleSizes, Text::MoreUnknownKeys, Text::MoreNamesSavedAsUtf8,
};

}  // namespace

Diagnostics::Diagnostics(std::ostream* errors, std::string padFile, std::string configurationFile, Voice voice)
    : errors_(errors),
      padFile_(std::move(padFile)),
      configurationFile_(std::move(configurationFile)),
      voice_(std::move(voice)) {}

const std::string& Diagnostics::FileOf(Warning kind) const {
  return kind == Warning::UnknownKey || kind == Warning::NameSavedAsUtf8 ? configurationFile_ : padFile_;
}

void Diagnostics::Print(Warning kind, std::string_view text) {
  if (errors_ == nullptr) return;
  *errors_ << voice_.Out(Say(Text::WarningLine, {{"file", NameIn(Lang(), FileOf(kind))}, {"text", std::string(text)}}))
           << '\n';
}

void Diagnostics::Error(std::string_view text) const {
  if (errors_ != nullptr) *errors_ << voice_.Out(Say(Text::ErrorLine, {{"text", std::string(text)}})) << '\n';
}

void Diagnostics::Finish() {
  for (std::size_t i = 0; i < counts_.size(); ++i) {
    if (counts_[i] <= kShownPerKind) continue;
    Print(static_cast<Warning>(i), Say(kMore[i], {{"count", std::to_string(counts_[i] - kShownPerKind)}}));
  }
}

std::string Quoted(std::string_view bytes, std::size_t limit) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text = "\"";
  for (const char c : bytes.substr(0, limit)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7f && c != '\\' && c != '"') {
      text += c;
    } else {
      text += "\\x";
      text += kHex[byte >> 4];
      text += kHex[byte & 0xf];
    }
  }
  if (bytes.size() > limit) text += "...";
  return text + "\"";
}

std::string QuotedName(Language language, std::string_view bytes) {
  const bool plain = std::none_of(bytes.begin(), bytes.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f || c == '"';
  });
  if (!plain || bytes.size() > 40 || !IsValidSystemText(bytes)) return Quoted(bytes);
  std::string quoted = "\"";
  quoted += NameIn(language, bytes);
  return quoted += '"';
}

}  // namespace velmorta
