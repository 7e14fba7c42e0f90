#pragma once
// The encoding a console or redirected stream shows text in, found once when a program
// starts, and the conversion of the catalog's UTF-8 into it.

#include <optional>
#include <string>
#include <string_view>

namespace velmorta {

enum class StandardStream { Output, Error };

class StreamEncoding {
 public:
  StreamEncoding() = default;  // UTF-8: text passes as it is
  // A Windows code page number ("932"), or elsewhere a name iconv knows ("EUC-JP").
  explicit StreamEncoding(std::string name) : name_(std::move(name)) {}

  // The UTF-8 text in this encoding; nothing when a character has no form in it.
  std::optional<std::string> Encode(std::string_view utf8) const;

  const std::string& Name() const { return name_; }

 private:
  std::string name_;  // empty for UTF-8
};

// On Windows a console's output code page, or the ANSI code page where the stream is
// redirected; elsewhere the encoding of the user's locale.
StreamEncoding EncodingOf(StandardStream stream);

}  // namespace velmorta
