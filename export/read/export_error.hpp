#pragma once
// The one failure of the exporter: a catalog text and what fills it (the file, the
// reason, the remedy), told once, in the run's language, where it is caught.

#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalog/catalog.hpp"

namespace velmorta::fab {

// What fills one placeholder, told in a language.
class Part {
 public:
  using Told = std::function<std::string(Language)>;
  // Bytes as the system holds them (a path, a line of the configuration, a number).
  Part(std::string_view name, std::string bytes);
  Part(std::string_view name, const char* bytes) : Part(name, std::string(bytes)) {}
  // A word of the catalog ("the run log").
  Part(std::string_view name, Text word);
  // A text already told in each language (a nested failure, the converter's reason).
  Part(std::string_view name, Told told) : name_(name), told_(std::move(told)) {}
  // Every placeholder of a text is named by its part, so a part names itself ("what").
  Part(std::string_view name, const Part& other) : name_(name), told_(other.told_) {}

  Arg In(Language language) const { return {name_, told_(language)}; }

 private:
  std::string_view name_;
  Told told_;
};

// A text the same in every language: UTF-8 already, or told already.
Part::Told AsIs(std::string text);

// A catalog text as a part of another: "{remedy}" filled with a whole sentence.
Part::Told Telling(Text key, std::initializer_list<Part> parts = {});

struct ExportError : std::runtime_error {
  ExportError(Text key, std::initializer_list<Part> parts = {});

  // The text in `language`; what() holds it in English.
  std::string In(Language language) const;
  // For a text that tells this failure inside another.
  Part::Told Told() const;

  Text key;
  std::vector<Part> parts;
};

}  // namespace velmorta::fab
