#include "base/diagnostics.hpp"

namespace velmorta {
namespace {

// How the warnings not shown are counted, by kind.
constexpr std::array<std::string_view, 7> kMore = {
    "more unknown section names",
    "more pad files without a pitch",
    "more tables ended by a record whose first field is 0",
    "more records with a field that is not a number",
    "more widths or land codes that select no aperture",
    "more hole diameters without a >T entry",
    "more lines with an unknown key",
};

}  // namespace

Diagnostics::Diagnostics(std::ostream* errors, std::string padFile, std::string configurationFile)
    : errors_(errors), padFile_(std::move(padFile)), configurationFile_(std::move(configurationFile)) {}

const std::string& Diagnostics::FileOf(Warning kind) const {
  return kind == Warning::UnknownKey ? configurationFile_ : padFile_;
}

void Diagnostics::Print(Warning kind, std::string_view text) {
  if (errors_ != nullptr) *errors_ << "velmorta: warning: " << FileOf(kind) << ": " << text << '\n';
}

void Diagnostics::Error(std::string_view text) {
  if (errors_ != nullptr) *errors_ << "velmorta: " << text << '\n';
}

void Diagnostics::Finish() {
  for (std::size_t i = 0; i < counts_.size(); ++i) {
    if (counts_[i] <= kShownPerKind || errors_ == nullptr) continue;
    *errors_ << "velmorta: warning: " << FileOf(static_cast<Warning>(i)) << ": " << counts_[i] - kShownPerKind
             << ' ' << kMore[i] << '\n';
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

}  // namespace velmorta
