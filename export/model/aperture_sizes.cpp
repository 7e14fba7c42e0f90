#include "export/model/aperture_sizes.hpp"

#include <map>
#include <set>

#include "export/model/decimal.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {

std::string_view ListName(SizeList list) {
  switch (list) {
    case SizeList::Line: return "line";
    case SizeList::Land: return "land";
    case SizeList::Tool: break;
  }
  return "tool";
}

const CodeList& EntriesOf(const Settings& settings, SizeList list) {
  switch (list) {
    case SizeList::Line: return settings.LineApertureList;
    case SizeList::Land: return settings.LandApertureList;
    case SizeList::Tool: break;
  }
  return settings.ToolList;
}

std::string_view ListKey(SizeList list) {
  switch (list) {
    case SizeList::Line: return ">D";
    case SizeList::Land: return ">R";
    case SizeList::Tool: break;
  }
  return ">T";
}

CodeSize SizeOfCode(const Settings& settings, SizeList list, std::int32_t code, std::string_view fileName) {
  const std::string key(ListKey(list));
  std::map<std::int64_t, const ListEntry*> sizes;
  for (const ListEntry& entry : EntriesOf(settings, list)) {
    if (code != 0 && entry.code == code) sizes.emplace(entry.micrometres, &entry);
  }
  const Part configuration("configuration", settings.FileName), keyed("key", key),
      coded("code", std::to_string(code)), drawn("file", std::string(fileName));
  if (sizes.empty()) throw ExportError(Text::CodeSizeUnknown, {configuration, keyed, coded, drawn});
  if (sizes.size() > 1) {
    std::vector<std::pair<std::string, std::string>> listed;
    for (const auto& [size, entry] : sizes) listed.emplace_back(std::to_string(entry->line), FormatDecimal(size, 3));
    const Part::Told told = [listed](Language language) {
      std::string text;
      for (const auto& [line, size] : listed) {
        text += (text.empty() ? "" : ", ") + Say(language, Text::LineSize, {{"line", line}, {"size", size}});
      }
      return text;
    };
    throw ExportError(Text::CodeSizeAmbiguous, {configuration, keyed, coded, drawn, {"sizes", told}});
  }
  const auto& [size, entry] = *sizes.begin();
  if (size <= 0 || size > kLargestSize) {
    throw ExportError(list == SizeList::Tool ? Text::ToolSizeRange : Text::CodeSizeRange,
                      {configuration, {"line", std::to_string(entry->line)}, keyed, coded, drawn});
  }
  return {entry->key, size};
}

Renumbering::Renumbering(const CodeList& list, std::int32_t lowest, std::int32_t highest, std::string_view what) {
  std::set<std::int32_t> codes;
  for (const ListEntry& entry : list) {
    if (entry.code != 0) codes.insert(entry.code);
  }
  std::set<std::int32_t> taken;
  for (const std::int32_t code : codes) {
    if (code >= lowest && code <= highest) {
      numbers_[code] = code;
      taken.insert(code);
    }
  }
  std::int32_t next = lowest;
  for (const std::int32_t code : codes) {
    if (numbers_.count(code) != 0) continue;
    while (next <= highest && taken.count(next) != 0) ++next;
    if (next > highest) {
      throw ExportError(Text::TooManyCodes, {{"what", std::string(what)},
                                             {"lowest", std::to_string(lowest)},
                                             {"highest", std::to_string(highest)}});
    }
    numbers_[code] = next;
    taken.insert(next);
  }
}

std::int32_t Renumbering::operator()(std::int32_t code) const {
  const auto found = numbers_.find(code);
  return found != numbers_.end() ? found->second : code;
}

}  // namespace velmorta::fab
