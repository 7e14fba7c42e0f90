#include "export/model/aperture_sizes.hpp"

#include <set>

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

std::int64_t KeyMicrometres(std::int32_t key, SizeList list) {
  return static_cast<std::int64_t>(key) * (list == SizeList::Line ? 100 : 10);
}

CodeSize SizeOfCode(const Settings& settings, SizeList list, std::int32_t code, std::string_view fileName) {
  const std::string where = std::string(fileName) + ": code " + std::to_string(code) + " of the " +
                            std::string(ListName(list)) + " list";
  std::set<std::int32_t> keys;
  for (const ListEntry& entry : EntriesOf(settings, list)) {
    if (code != 0 && entry.code == code) keys.insert(entry.key);
  }
  if (keys.empty()) throw ExportError(where + ": no list entry carries this code, so its size is unknown");
  if (keys.size() > 1) {
    std::string listed;
    for (const std::int32_t key : keys) listed += (listed.empty() ? "" : ", ") + std::to_string(key);
    throw ExportError(where + ": entries of different keys (" + listed +
                      ") carry this code, so its size is ambiguous");
  }
  const CodeSize size{*keys.begin(), KeyMicrometres(*keys.begin(), list)};
  if (size.micrometres <= 0) {
    throw ExportError(where + ": key " + std::to_string(size.key) + " is not a positive size");
  }
  return size;
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
      throw ExportError("too many " + std::string(what) + " codes outside " + std::to_string(lowest) +
                        " to " + std::to_string(highest) + " to number them all");
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
