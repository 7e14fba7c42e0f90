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
  const std::string key(ListKey(list)), drawn = " (" + std::string(fileName) + " draws with it)";
  std::map<std::int64_t, const ListEntry*> sizes;
  for (const ListEntry& entry : EntriesOf(settings, list)) {
    if (code != 0 && entry.code == code) sizes.emplace(entry.micrometres, &entry);
  }
  const std::string where = settings.FileName + ": " + key + " code " + std::to_string(code);
  if (sizes.empty()) {
    throw ExportError(where + drawn + ": no " + key + " line carries this code, so its size is unknown; add one, or convert the board again");
  }
  const auto lineOf = [&](const ListEntry& entry) {
    return settings.FileName + ": line " + std::to_string(entry.line) + ": the size of " + key + " code " + std::to_string(code);
  };
  if (sizes.size() > 1) {
    std::string listed;
    for (const auto& [size, entry] : sizes) {
      listed += (listed.empty() ? "" : ", ") + std::string("line ") + std::to_string(entry->line) + " " + FormatDecimal(size, 3) + " mm";
    }
    throw ExportError(where + drawn + ": lines of different sizes (" + listed + ") carry this code, so its size is ambiguous; give it one size");
  }
  const auto& [size, entry] = *sizes.begin();
  if (size <= 0 || size > kLargestSize) {
    throw ExportError(lineOf(*entry) + drawn + " is not a positive number of millimetres up to 100" +
                      (list == SizeList::Tool ? " (>T sizes are in 0.1 mm)" : "") + "; correct the line");
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
