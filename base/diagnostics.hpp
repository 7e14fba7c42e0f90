#pragma once
// What a run tells on standard error, in the run's voice: the reason behind a fatal
// stop, and warnings where the conversion goes on but the result is likely not what was
// meant. The files a run writes never change for it. Each kind of warning is printed
// a few times, then only counted, so a million bad records cost a few lines.

#include <array>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "base/voice.hpp"

namespace velmorta {

enum class Warning {
  UnknownSection,   // a section name that opens no known section
  NoPitch,          // no "Pitch" of 1 or 2
  HiddenRecords,    // a record whose first field is 0 ends its table
  NotANumber,       // a numeric field without digits, read as 0
  NoSizeClass,      // a width or land code whose size class gives no aperture
  UnknownHoleSize,  // a hole diameter of no ">T" entry
  UnknownKey,       // a configuration line with an unknown key
  NameSavedAsUtf8,  // a configuration's name in UTF-8 on a system that reads another code page
};

class Diagnostics {
 public:
  static constexpr std::size_t kShownPerKind = 5;

  // Nothing is printed without a stream. The names are the two input files as given:
  // every warning is about one of them.
  explicit Diagnostics(std::ostream* errors = nullptr, std::string padFile = "pad file",
                       std::string configurationFile = "configuration file", Voice voice = {});

  const std::string& PadFile() const { return padFile_; }
  const std::string& ConfigurationFile() const { return configurationFile_; }
  Language Lang() const { return voice_.Lang(); }
  // The catalog's text in the run's language; names in it pass NameIn(Lang(), ...).
  std::string Say(Text key, std::initializer_list<Arg> args = {}) const { return velmorta::Say(Lang(), key, args); }
  std::string Name(std::string_view bytes) const { return NameIn(Lang(), bytes); }

  // "velmorta: warning: <file>: <text(Lang())>", while the kind has been shown fewer
  // times than kShownPerKind; beyond that only counted, and the text is never made.
  template <class MakeText>
  void Warn(Warning kind, MakeText&& text) {
    if (++counts_[static_cast<std::size_t>(kind)] <= kShownPerKind) Print(kind, text(Lang()));
  }
  std::size_t Count(Warning kind) const { return counts_[static_cast<std::size_t>(kind)]; }
  // "velmorta: <text>": the reason of a fatal stop, made in Lang().
  void Error(std::string_view text) const;
  // The number of warnings of each kind that were not shown.
  void Finish();

 private:
  const std::string& FileOf(Warning kind) const;
  void Print(Warning kind, std::string_view text);

  std::ostream* errors_;
  std::string padFile_;
  std::string configurationFile_;
  Voice voice_;
  std::array<std::size_t, 8> counts_{};
};

// User bytes quoted in a diagnostic: printable ASCII as it is, every other byte (and
// the backslash and double quote) as \xNN, at most `limit` bytes of the text, then "...".
std::string Quoted(std::string_view bytes, std::size_t limit = 40);

// A name the user typed, quoted for a text in `language`: as typed where it is text in the
// system's encoding (no control character, no double quote, at most 40 bytes), else Quoted().
std::string QuotedName(Language language, std::string_view bytes);

}  // namespace velmorta
