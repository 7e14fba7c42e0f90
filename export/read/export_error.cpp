#include "export/read/export_error.hpp"

#include "base/voice.hpp"

namespace velmorta::fab {

Part::Part(std::string_view name, std::string bytes)
    : name_(name), told_([bytes = std::move(bytes)](Language language) { return NameIn(language, bytes); }) {}

Part::Part(std::string_view name, Text word)
    : name_(name), told_([word](Language language) { return std::string(Wording(language, word)); }) {}

namespace {

std::string Tell(Language language, Text key, const std::vector<Part>& parts) {
  std::vector<Arg> args;
  args.reserve(parts.size());
  for (const Part& part : parts) args.push_back(part.In(language));
  return Fill(Wording(language, key), args);
}

}  // namespace

Part::Told AsIs(std::string text) {
  return [text = std::move(text)](Language) { return text; };
}

Part::Told Telling(Text key, std::initializer_list<Part> parts) {
  return [key, parts = std::vector<Part>(parts)](Language language) { return Tell(language, key, parts); };
}

ExportError::ExportError(Text text, std::initializer_list<Part> told)
    : std::runtime_error(Tell(Language::English, text, std::vector<Part>(told))), key(text), parts(told) {}

std::string ExportError::In(Language language) const { return Tell(language, key, parts); }

Part::Told ExportError::Told() const {
  return [error = *this](Language language) { return error.In(language); };
}

}  // namespace velmorta::fab
