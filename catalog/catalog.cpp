#include "catalog/catalog.hpp"

#include <algorithm>
#include <array>
#include <set>

namespace velmorta {
namespace {

using Index = std::array<std::string_view, kTextCount>;

Index IndexOf(std::span<const Entry> entries) {
  Index index{};
  for (const Entry& e : entries) {
    if (e.key < Text::Count) index[static_cast<std::size_t>(e.key)] = e.text;
  }
  return index;
}

}  // namespace

std::string_view Wording(Language language, Text key) {
  static const Index kEnglish = IndexOf(EnglishEntries());
  static const Index kJapanese = IndexOf(JapaneseEntries());
  if (key >= Text::Count) return {};
  const auto i = static_cast<std::size_t>(key);
  if (language == Language::Japanese && !kJapanese[i].empty()) return kJapanese[i];
  return kEnglish[i];
}

std::string Fill(std::string_view pattern, std::span<const Arg> args) {
  std::string text;
  text.reserve(pattern.size());
  while (!pattern.empty()) {
    const std::size_t open = pattern.find('{');
    text += pattern.substr(0, open);
    if (open == std::string_view::npos) break;
    pattern.remove_prefix(open);
    const std::size_t close = pattern.find('}');
    const std::string_view name = pattern.substr(1, close == std::string_view::npos ? 0 : close - 1);
    const auto arg = std::find_if(args.begin(), args.end(), [&](const Arg& a) { return a.name == name; });
    if (close == std::string_view::npos || arg == args.end()) {
      text += '{';
      pattern.remove_prefix(1);
      continue;
    }
    text += arg->value;
    pattern.remove_prefix(close + 1);
  }
  return text;
}

std::string Say(Language language, Text key, std::initializer_list<Arg> args) {
  return Fill(Wording(language, key), std::span<const Arg>(args.begin(), args.size()));
}

std::string PlaceholdersOf(std::string_view pattern) {
  std::multiset<std::string_view> names;
  for (std::size_t open = pattern.find('{'); open != std::string_view::npos; open = pattern.find('{', open + 1)) {
    const std::size_t close = pattern.find('}', open);
    if (close == std::string_view::npos) break;
    names.insert(pattern.substr(open + 1, close - open - 1));
  }
  std::string list;
  for (const std::string_view name : names) list += "{" + std::string(name) + "}";
  return list;
}

}  // namespace velmorta
