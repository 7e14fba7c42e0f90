#pragma once
// How a program speaks on one stream: the language of its texts, in the stream's
// encoding. Texts are made in the voice's language (UTF-8 in Japanese) and pass Out()
// on their way to the stream.

#include <string>
#include <string_view>

#include "base/stream_encoding.hpp"
#include "catalog/catalog.hpp"

namespace velmorta {

class Voice {
 public:
  Voice() = default;  // English, every byte as it is: what tests and files read
  // Japanese only where the stream shows every Japanese text; English otherwise.
  Voice(Language wanted, StreamEncoding encoding);

  Language Lang() const { return language_; }
  // A text made in Lang(), ready for the stream: English as its bytes are.
  std::string Out(std::string_view text) const;

 private:
  Language language_ = Language::English;
  StreamEncoding encoding_;
};

// What a program's texts are told in: the language (from the system, or chosen) and
// the encoding of each standard stream.
struct Speech {
  Language language = Language::English;
  StreamEncoding output, errors;
};
// The system's: SystemLanguage() and EncodingOf() each stream.
Speech SystemSpeech();

// A name as the system holds it (a file name, bytes the user typed) for a text in
// `language`: English keeps the bytes; a Japanese text is UTF-8, and so is the name in it.
std::string NameIn(Language language, std::string_view bytes);

}  // namespace velmorta
