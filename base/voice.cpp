#include "base/voice.hpp"

#include "base/system_language.hpp"
#include "base/text_encoding.hpp"

namespace velmorta {
namespace {

bool ShowsEveryText(const StreamEncoding& encoding, Language language) {
  if (language == Language::English) return true;  // ASCII
  std::string all;
  for (std::size_t k = 0; k < kTextCount; ++k) all += Wording(language, static_cast<Text>(k));
  return encoding.Encode(all).has_value();
}

}  // namespace

Voice::Voice(Language wanted, StreamEncoding encoding)
    : language_(ShowsEveryText(encoding, wanted) ? wanted : Language::English), encoding_(std::move(encoding)) {}

std::string Voice::Out(std::string_view text) const {
  if (language_ == Language::English) return std::string(text);
  // A name the stream cannot show goes out as UTF-8 rather than not at all.
  return encoding_.Encode(text).value_or(std::string(text));
}

Speech SystemSpeech() {
  return {SystemLanguage(), EncodingOf(StandardStream::Output), EncodingOf(StandardStream::Error)};
}

std::string NameIn(Language language, std::string_view bytes) {
  return language == Language::English ? std::string(bytes) : SystemTextToUtf8(bytes);
}

}  // namespace velmorta
